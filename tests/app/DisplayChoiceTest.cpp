#include "app/DisplayChoice.h"

#include <QtGlobal>
#include <gtest/gtest.h>

#include <optional>

TEST(DisplayChoice, XWinsOverWaylandUnlessAPlatformWasChosen) {
    EXPECT_EQ(DisplayChoice::platformFor(":0", "wayland-0", ""), QByteArray("xcb"));

    EXPECT_EQ(DisplayChoice::platformFor(":0", "", ""), QByteArray()) << "X alone";
    EXPECT_EQ(DisplayChoice::platformFor("", "wayland-0", ""), QByteArray()) << "Wayland alone";
    EXPECT_EQ(DisplayChoice::platformFor("", "", ""), QByteArray()) << "no display";
    EXPECT_EQ(DisplayChoice::platformFor(":0", "wayland-0", "wayland"), QByteArray())
        << "the user's choice";
    EXPECT_EQ(DisplayChoice::platformFor(":0", "wayland-0", "offscreen"), QByteArray());
}

namespace {
// Sets or clears an environment variable for one test and puts the old value back after it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (qEnvironmentVariableIsSet(name))
            old_ = qgetenv(name);
        if (value)
            qputenv(name, value);
        else
            qunsetenv(name);
    }
    ~ScopedVariable() {
        if (old_)
            qputenv(name_, *old_);
        else
            qunsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* name_;
    std::optional<QByteArray> old_;
};
} // namespace

TEST(DisplayChoice, ApplySetsTheQtPlatformFromTheEnvironment) {
    ScopedVariable display("DISPLAY", ":7");
    ScopedVariable wayland("WAYLAND_DISPLAY", "wayland-7");
    {
        ScopedVariable platform("QT_QPA_PLATFORM", nullptr);
        DisplayChoice::apply();
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb"));
    }
    {
        ScopedVariable platform("QT_QPA_PLATFORM", "wayland");
        DisplayChoice::apply();
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("wayland"));
    }
    {
        ScopedVariable platform("QT_QPA_PLATFORM", nullptr);
        ScopedVariable noX("DISPLAY", nullptr);
        DisplayChoice::apply();
        EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"));
    }
}
