#include "platform/linux/desktop/QtWindowControl.h"
#include "PlatformTestSupport.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

class QtWindowControlTest : public ::testing::Test {
protected:
    void SetUp() override { platformtest::application(); }

    static void show(QWidget& window, const QString& title, Qt::WindowStates state) {
        window.setWindowTitle(title);
        window.setWindowState(state);
        window.show();
        QApplication::processEvents();
    }

    QtWindowControl control;
};

TEST_F(QtWindowControlTest, RestoresTheShownWindowWithThatTitleOnly) {
    QWidget target, other, hidden, wasMaximised;
    show(target, "T", Qt::WindowMinimized);
    show(other, "Other", Qt::WindowMinimized);
    show(wasMaximised, "M", Qt::WindowMaximized | Qt::WindowMinimized);
    hidden.setWindowTitle("H");

    control.activateByTitle("Not there");
    EXPECT_TRUE(target.isMinimized());

    control.activateByTitle("T");
    EXPECT_FALSE(target.isMinimized());
    EXPECT_TRUE(target.isVisible());
    EXPECT_TRUE(other.isMinimized());

    control.activateByTitle("M");
    EXPECT_FALSE(wasMaximised.isMinimized());
    EXPECT_TRUE(wasMaximised.isMaximized());

    control.activateByTitle("H");
    EXPECT_FALSE(hidden.isVisible());
}

TEST_F(QtWindowControlTest, EndProgramReturnsAtOnceThenClosesTheWindowsAndLeavesTheEventLoop) {
    QWidget window;
    show(window, "T", Qt::WindowNoState);
    control.endProgram();
    EXPECT_TRUE(window.isVisible()) << "closed before the caller returned";

    // The guard only ends a test that would otherwise hang; exit code 1 tells it apart.
    QTimer::singleShot(5000, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(QtWindowControlTest, ARaiseTakesNoTypingButTheWindowInUseKeepsItsFocus) {
    QWidget target, other;
    auto* message = new QLineEdit(&target);
    new QLineEdit(&target);
    show(target, "T", Qt::WindowNoState);
    message->setFocus();
    show(other, "Other", Qt::WindowNoState);
    other.activateWindow();
    ASSERT_TRUE(platformtest::waitUntil([&] {
        QApplication::processEvents();
        return other.isActiveWindow();
    }));

    control.activateByTitle("T");
    ASSERT_TRUE(platformtest::waitUntil([&] {
        QApplication::processEvents();
        return target.isActiveWindow();
    }));
    EXPECT_EQ(QApplication::focusWidget(), &target) << "keys typed now reach no control";
    QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(&target, &tab);
    EXPECT_TRUE(message->hasFocus()) << "Tab gives a control the focus again";

    control.activateByTitle("T"); // the window in use
    EXPECT_TRUE(message->hasFocus());
}
