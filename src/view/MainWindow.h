#pragma once

#include "ControlMirror.h"
#include "FrameThrottle.h"
#include "PushGuard.h"
#include "SteadyTime.h"
#include "ui/Form1.h"
#include "ui/FormObserver.h"

#include <QHash>
#include <QWidget>

#include <memory>
#include <vector>

class ControlView;
class TimerView;

// The form's window. It shows what the form model holds and hands the user's actions to the
// model; what happens then is the model's business. Each widget is named after its control.
class MainWindow : public QWidget, public FormObserver {
public:
    // The ticks are counted against the given time, or the machine's monotonic clock.
    explicit MainWindow(Form1& form, SteadyTime* time = nullptr);
    ~MainWindow() override;
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void propertyChanged(const Control& control, Property property) override;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void add(std::unique_ptr<ControlMirror> mirror, const Control& control);
    void throttleText(const TextBox& box);
    void pushStacking();
    void pushTabOrder();
    void focusFirstControl();

    Form1& form_;
    PushGuard guard_;
    MonotonicTime monotonic_; // before the mirrors, which count on it
    std::vector<std::unique_ptr<ControlMirror>> mirrors_;
    QHash<const Control*, ControlMirror*> byControl_;
    std::vector<ControlView*> views_; // the controls that have a widget
    // The display boxes' texts, which the tick may change more often than a screen shows.
    std::vector<std::unique_ptr<FrameThrottle>> throttles_;
    QHash<const Control*, FrameThrottle*> textThrottles_;
    TimerView* ticks_ = nullptr;
};
