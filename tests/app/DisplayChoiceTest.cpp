#include "app/DisplayChoice.h"

#include <QtGlobal>
#include <gtest/gtest.h>

#include <optional>

TEST(DisplayChoice, XWinsOverWaylandUnlessAPlatformWasChosen) {
    EXPECT_EQ(DisplayChoice::platformFor(":0", "wayland-0", ""), QByteArray("xcb;wayland"));

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

TEST(DisplayChoice, ApplySetsTheQtPlatformForTheDisplaysThatOpen) {
    ScopedVariable platform("QT_QPA_PLATFORM", nullptr);
    DisplayChoice::apply({":7", "wayland-7", "", false, true});
    EXPECT_FALSE(qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) << "X that does not open";
    DisplayChoice::apply({":7", "wayland-7", "", true, true});
    EXPECT_EQ(qgetenv("QT_QPA_PLATFORM"), QByteArray("xcb;wayland"));
}

// Status 1 and one line naming the way out, instead of Qt's abort.
TEST(DisplayChoice, WithoutADisplayOneLineNamesTheWayOut) {
    const QString wayOut = QStringLiteral(
        "; start it in a desktop session, or under a virtual X server: xvfb-run -a pingolet");
    struct Case {
        DisplayChoice::Displays displays;
        const char* problem; // nullptr: Qt finds a display
    } cases[] = {
        {{":0", "", "", true, false}, nullptr},
        {{"", "wayland-0", "", false, true}, nullptr},
        {{":0", "wayland-0", "", false, true}, nullptr},
        {{"", "", "offscreen", false, false}, nullptr},
        {{":0", "wayland-0", "wayland;xcb", false, true}, nullptr},
        {{"", "", "", false, false},
         "no display to show its window on (DISPLAY and WAYLAND_DISPLAY are not set)"},
        {{":99", "", "", false, false}, "cannot open the X display :99"},
        {{":99", "wayland-9", "", false, false},
         "cannot open the X display :99 nor the Wayland display wayland-9"},
        {{":0", "wayland-9", "wayland", true, false}, "cannot open the Wayland display wayland-9"},
        {{"", "wayland-0", "xcb", false, true},
         "no display to show its window on (DISPLAY is not set)"},
    };
    for (const Case& c : cases) {
        const auto problem = DisplayChoice::noDisplay(c.displays);
        if (c.problem) {
            EXPECT_EQ(problem, QString::fromUtf8(c.problem) + wayOut) << c.problem;
        } else {
            EXPECT_FALSE(problem) << problem->toStdString();
        }
    }
}
