#include "FakeDesktop.h"
#include "platform/linux/desktop/QtWindowControl.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QThread>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>

// The program's window asks for the focus at every update while the user works in a window of
// their own; the desktop answers as each case says.
class WindowAttentionTest : public ::testing::Test {
protected:
    void SetUp() override {
        desk.answer(FakeDesktop::Answer::Refuse);
        window.setWindowTitle("Alarm");
        window.resize(300, 200);
        message = new QLineEdit(&window);
        window.show();
        ASSERT_TRUE(until([&] { return desk.isViewable(id()); }));
        message->setFocus();
        desk.focus(desk.userWindow());
        ASSERT_TRUE(until([&] { return desk.hasFocus(desk.userWindow()); }));
    }

    xcb_window_t id() { return xcb_window_t(window.winId()); }
    bool marked() { return desk.urgencyHint(id()) && desk.demandsAttention(id()); }
    bool unmarked() { return !desk.urgencyHint(id()) && !desk.demandsAttention(id()); }

    // Runs the program's events and the desktop's until the condition holds, for at most 5 s;
    // with updates, the alarm asks for its window every 250 ms meanwhile, as a fast alarm does.
    bool until(const std::function<bool()>& condition, bool updates = false) {
        QElapsedTimer clock;
        clock.start();
        qint64 lastUpdate = -1000;
        while (clock.elapsed() < 5000) {
            if (updates && clock.elapsed() - lastUpdate >= 250) {
                lastUpdate = clock.elapsed();
                control.activateByTitle("Alarm");
            }
            QApplication::processEvents();
            desk.serve();
            if (condition())
                return true;
            QThread::msleep(5);
        }
        return false;
    }

    FakeDesktop& desk = desktop();
    QtWindowControl control;
    QWidget window;
    QLineEdit* message = nullptr;
};

TEST_F(WindowAttentionTest, ARefusedRaiseDemandsAttentionUntilTheWindowReallyHasTheFocus) {
    EXPECT_TRUE(until([&] { return marked(); }, true))
        << "urgency hint " << desk.urgencyHint(id()) << ", demands attention "
        << desk.demandsAttention(id()) << " after " << desk.activationRequests() << " requests";
    EXPECT_EQ(window.focusWidget(), &window) << "keys typed now would reach a control";

    // The user clicks the window: no update needed for the marks to go.
    desk.focus(id());
    EXPECT_TRUE(until([&] { return unmarked(); }));
}

TEST_F(WindowAttentionTest, AGrantedRaiseLeavesNoMark) {
    desk.answer(FakeDesktop::Answer::Grant);
    ASSERT_TRUE(until([&] { return desk.hasFocus(id()); }, true));
    // Past the time the window is judged, with updates going on.
    const int before = desk.activationRequests();
    until([&] { return desk.activationRequests() > before + 3; }, true);
    EXPECT_TRUE(unmarked());
}
