#include "FakePlatform.h"
#include "view/MainWindow.h"
#include "view/Twips.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
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

namespace {
QStringList tabbingFrom(QWidget& start, int steps) {
    QStringList visited;
    start.setFocus();
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    return visited;
}
} // namespace

TEST_F(ProgramWindow, ResizingBelowTheMinimumGivesTheMinimum) {
    view->resize(40, 30);
    QApplication::processEvents();
    EXPECT_EQ(h.form.width(), 4520);
    EXPECT_EQ(h.form.height(), 1600);
    EXPECT_GE(view->width(), Twips::toPixels(4520) - 10) << "the real window follows";
    EXPECT_GE(view->height(), Twips::toPixels(1600) - 40);
}

TEST_F(ProgramWindow, OpeningTheAreaMovesTheSliderAndShowsTheFields) {
    auto* more = view->findChild<QPushButton*>("CmdOpnX");
    ASSERT_TRUE(more);
    QTest::mouseClick(more, Qt::LeftButton);
    EXPECT_EQ(more->text(), "Less");
    auto* slider = view->findChild<QScrollBar*>("VScroll1");
    EXPECT_EQ(slider->x(), Twips::toPixels(h.form.width() - 500 - 1100));
    auto* maximum = view->findChild<QLineEdit*>("Text5");
    EXPECT_TRUE(maximum->isVisible());
    EXPECT_EQ(maximum->text(), "32");
    EXPECT_EQ(maximum->x(), Twips::toPixels(h.form.width() - 50 - 1100));
}

TEST_F(ProgramWindow, TabbingVisitsTheControlsInOrder) {
    QTest::keyClick(area, '!'); // something to save, so that the button takes the focus too
    EXPECT_EQ(tabbingFrom(*area, 6),
              (QStringList{"VScroll1", "CmdOpnX", "CmdWrtINI", "Text3", "Text2", "Text1"}));
    QTest::mouseClick(view->findChild<QPushButton*>("CmdOpnX"), Qt::LeftButton);
    EXPECT_EQ(tabbingFrom(*area, 9), (QStringList{"VScroll1", "CmdOpnX", "Text8", "Text10", "Text7",
                                                  "Text6", "Text5", "CmdEditINI", "CmdWrtINI"}));
}

TEST_F(ProgramWindow, FieldsRefuseCharactersPastTheirLength) {
    QTest::mouseClick(view->findChild<QPushButton*>("CmdOpnX"), Qt::LeftButton);
    auto* setting = view->findChild<QLineEdit*>("Text6");
    setting->setFocus();
    setting->selectAll();
    QTest::keyClicks(setting, "1234");
    EXPECT_EQ(h.form.Text6.text(), "123");
    auto* startSet = view->findChild<QLineEdit*>("Text8");
    startSet->setFocus();
    startSet->selectAll();
    QTest::keyClicks(startSet, "0123456789abcdefgh");
    EXPECT_EQ(h.form.Text8.text(), "0123456789abcde");
}

TEST_F(ProgramWindow, TabbingThroughStartSetKeepsTheCountdownAndEnterRestartsIt) {
    QTest::mouseClick(view->findChild<QPushButton*>("CmdOpnX"), Qt::LeftButton);
    auto* startSet = view->findChild<QLineEdit*>("Text8");
    startSet->setFocus(Qt::TabFocusReason);
    startSet->selectAll();
    QTest::keyClicks(startSet, "10 min");
    QTest::keyClick(startSet, Qt::Key_Tab);
    ASSERT_FLOAT_EQ(h.m.SecondsToAlarm, 600);
    h.clock.advance(36);
    h.forcedUpdate();

    startSet->setFocus(Qt::TabFocusReason);
    QTest::keyClick(startSet, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), startSet);
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 564);

    startSet->setFocus(Qt::TabFocusReason);
    QTest::keyClick(startSet, Qt::Key_Return);
    EXPECT_FLOAT_EQ(h.m.SecondsToAlarm, 600);
}
