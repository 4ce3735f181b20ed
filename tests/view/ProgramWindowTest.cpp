#include "FakePlatform.h"
#include "view/MainWindow.h"

#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

using namespace AlarmModes;

namespace {
// The whole program on fake services, in its real window, typed into as a user types.
struct ProgramWindow : testing::Test {
    Harness h;
    std::unique_ptr<MainWindow> view;
    QPlainTextEdit* area = nullptr;

    void SetUp() override {
        h.settingsFile({{"StartSet", "0"}, {"Message", "Tea"}});
        h.program.Form_Load();
        view = std::make_unique<MainWindow>(h.form);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        area = view->findChild<QPlainTextEdit*>("Text4");
        ASSERT_TRUE(area);
        area->setFocus();
        QTest::keyClick(area, Qt::Key_End, Qt::ControlModifier);
    }
    void beepingFor(float seconds) {
        h.m.SecondsToAlarm = -seconds;
        h.m.AlarmMode = ModeArmed;
        h.forcedUpdate();
    }
};
} // namespace

TEST_F(ProgramWindow, TypingAcknowledgesTheAlarmAndReArmsWithTheFirstLineInTheTitle) {
    beepingFor(30);
    const QRegularExpression runningArrow("^-*>-* Tea$");
    EXPECT_TRUE(runningArrow.match(view->windowTitle()).hasMatch())
        << view->windowTitle().toStdString();
    QTest::keyClick(area, 's');
    EXPECT_EQ(h.m.AlarmMode, ModeIdle);

    h.m.SecondsToAlarm = 120; // a new countdown, then the user edits again
    QTest::keyClick(area, Qt::Key_Return);
    QTest::keyClicks(area, "later");
    EXPECT_EQ(h.m.AlarmMode, ModeArmed);
    h.forcedUpdate();
    EXPECT_EQ(view->windowTitle(), "2.0m-> Teas");
}

TEST_F(ProgramWindow, ReRunTypedIntoTheTemplateStartsItsCycle) {
    QTest::keyClick(area, 'a', Qt::ControlModifier);
    QTest::keyClicks(area, "ReRun:");
    EXPECT_EQ(h.form.Text4.text(), "ReRun: Off= ## On= ## S,M,H,D,W : Text");
    // The typing goes on after the prefix, in front of the template's rest.
    QTest::keyClicks(area, " Off=3s On=2s : tea");
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOff);
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 3);
    EXPECT_EQ(area->palette().color(QPalette::Base), QColor(255, 255, 0));
    h.clock.advance(4);
    h.tickToNextUpdate();
    EXPECT_EQ(h.m.AlarmMode, ModeReRunOn);
    EXPECT_EQ(area->palette().color(QPalette::Base), QColor(255, 128, 0));
}
