#pragma once

#include <QObject>

#include <functional>

class QSocketNotifier;

// The signals that end the program, handled on the event loop's thread: Ctrl+C (SIGINT) is the
// user ending the alarm; SIGTERM and SIGHUP (a session or the machine going down, the terminal
// closed) end the program and keep the alarm.
class EndSignals : public QObject {
public:
    enum class Ending { ByUser, KeepAlarm };
    explicit EndSignals(std::function<void(Ending)> onEnd);
    ~EndSignals() override;
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

private:
    void received();

    std::function<void(Ending)> onEnd_;
    QSocketNotifier* notifier_ = nullptr;
};
