#pragma once

#include "../support/QtPrinters.h" // header only: readable Qt strings in failures

#include <QApplication>
#include <QByteArray>
#include <QThread>

#include <chrono>
#include <functional>

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

} // namespace platformtest
