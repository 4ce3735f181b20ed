#pragma once

#include "../support/QtPrinters.h" // header only: readable Qt strings in failures

#include <QApplication>
#include <QByteArray>
#include <QProcess>
#include <QThread>

#include <chrono>
#include <functional>
#include <memory>

namespace platformtest {

// The one QApplication of the test process, on the offscreen platform unless told otherwise.
inline QApplication& application() {
    static int argc = 1;
    static char name[] = "platform_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        return new QApplication(argc, argv); // lives until the process ends
    }();
    return *app;
}

// Sets an environment variable for the lifetime of the object, then puts back what was there.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const QByteArray& value)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qputenv(name, value);
    }
    // Unsets it.
    explicit ScopedEnv(const char* name)
        : name_(name), wasSet_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
        qunsetenv(name);
    }
    ~ScopedEnv() {
        if (wasSet_) {
            qputenv(name_, old_);
        } else {
            qunsetenv(name_);
        }
    }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    bool wasSet_;
    QByteArray old_;
};

// Polls until the condition holds or the time is up; for things that happen in another thread
// or another process. Returns whether the condition held.
inline bool waitUntil(const std::function<bool()>& condition,
                      std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return condition();
        }
        QThread::msleep(10);
    }
    return true;
}

// Runs the event loop until the condition holds; the bus delivers through it.
inline bool settle(const std::function<bool()>& condition,
                   std::chrono::milliseconds timeout = std::chrono::seconds(5)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// A session bus of the test's own, named in DBUS_SESSION_BUS_ADDRESS while it runs.
class PrivateSessionBus {
public:
    PrivateSessionBus() {
        application();
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        if (daemon_.waitForReadyRead(5000))
            address_ = QString::fromUtf8(daemon_.readLine().trimmed());
        env_ = std::make_unique<ScopedEnv>("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
    }
    ~PrivateSessionBus() {
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;
    // Empty when dbus-daemon did not start.
    const QString& address() const { return address_; }

private:
    QProcess daemon_;
    QString address_;
    std::unique_ptr<ScopedEnv> env_;
};

} // namespace platformtest
