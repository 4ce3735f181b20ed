#include "ViewFixture.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

using UserInputTest = ViewTest;

TEST_F(UserInputTest, TypingReachesTheModelAsOneChangePerEditWithCrLf) {
    Recorder changes;
    recordChanges(form.Text4, changes);
    auto& area = widget<QPlainTextEdit>(form.Text4);

    QTest::keyClick(&area, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&area, 'x');
    EXPECT_EQ(changes.texts, QStringList{"Text4\r\nx"});
    QTest::keyClick(&area, Qt::Key_Return);
    QTest::keyClicks(&area, QStringLiteral("y"));
    EXPECT_EQ(changes.texts, (QStringList{"Text4\r\nx", "Text4\r\nx\r\n", "Text4\r\nx\r\ny"}));

    Recorder startSet;
    recordChanges(form.Text8, startSet);
    form.Text8.setVisible(true);
    QTest::keyClicks(&widget<QLineEdit>(form.Text8), QStringLiteral("5m"));
    EXPECT_EQ(startSet.texts, (QStringList{"5", "5m"}));
}

TEST_F(UserInputTest, TextFromTheProgramWhileTheUserTypesRaisesChangeOnce) {
    Recorder changes;
    auto& area = widget<QPlainTextEdit>(form.Text4);
    // As the "/?" request does: the handler answers a typed text with a text of its own.
    form.Text4.Change.connect([&] {
        changes.texts << form.Text4.text();
        if (form.Text4.text().endsWith(QLatin1Char('?')))
            form.Text4.setText(QStringLiteral("Help\r\n"));
    });

    QTest::keyClick(&area, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&area, '?');
    EXPECT_EQ(changes.texts, (QStringList{"Text4\r\n?", "Help\r\n"}));
    EXPECT_EQ(area.toPlainText(), QStringLiteral("Help\n"));

    // A text set while the user is in the field, and the next key after it.
    form.Text4.setText(QStringLiteral("a\r\nb"));
    EXPECT_EQ(area.toPlainText(), QStringLiteral("a\nb"));
    QTest::keyClick(&area, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&area, 'c');
    EXPECT_EQ(changes.texts, (QStringList{"Text4\r\n?", "Help\r\n", "a\r\nb", "a\r\nbc"}));
}

TEST_F(UserInputTest, NoBreakSpacesSurviveAnEdit) {
    form.Text4.setText(QStringLiteral("a\u00A0b"));
    auto& area = widget<QPlainTextEdit>(form.Text4);
    QTest::keyClick(&area, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(&area, 'c');
    EXPECT_EQ(form.Text4.text(), QStringLiteral("a\u00A0bc"));
}

TEST_F(UserInputTest, ClicksAndDoubleClicksRaiseTheirEvents) {
    int clicks = 0, areaDoubleClicks = 0, displayDoubleClicks = 0;
    count(form.CmdOpnX.Click, clicks);
    count(form.Text4.DblClick, areaDoubleClicks);
    count(form.Text3.DblClick, displayDoubleClicks);

    QTest::mouseClick(&widget<QPushButton>(form.CmdOpnX), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
    QTest::mouseDClick(&widget<QLineEdit>(form.Text3), Qt::LeftButton);
    EXPECT_EQ(displayDoubleClicks, 1);
    QTest::mouseDClick(widget<QPlainTextEdit>(form.Text4).viewport(), Qt::LeftButton);
    EXPECT_EQ(areaDoubleClicks, 1);
    EXPECT_EQ(clicks, 1);
}

TEST_F(UserInputTest, LostFocusOnlyWhenTheFocusMovesToAnotherControl) {
    int lost = 0;
    count(form.Text8.LostFocus, lost);
    form.Text8.setVisible(true);
    auto& startSet = widget<QLineEdit>(form.Text8);

    // The whole window going to the background is no focus move.
    QFocusEvent deactivated(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&startSet, &deactivated);
    QFocusEvent popup(QEvent::FocusOut, Qt::PopupFocusReason);
    QCoreApplication::sendEvent(&startSet, &popup);
    EXPECT_EQ(lost, 0);

    view.show();
    view.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&view));
    startSet.setFocus(Qt::MouseFocusReason);
    widget<QPushButton>(form.CmdOpnX).setFocus(Qt::TabFocusReason);
    EXPECT_EQ(lost, 1);
}

TEST_F(UserInputTest, MovingTheScrollBarSetsTheModelValue) {
    QList<int> values;
    form.VScroll1.Change.connect([&] { values << form.VScroll1.value(); });
    auto& slider = widget<QScrollBar>(form.VScroll1);

    // Min 2 is at the top: up raises the value.
    QTest::keyClick(&slider, Qt::Key_Up);
    EXPECT_EQ(form.VScroll1.value(), 2);
    QTest::keyClick(&slider, Qt::Key_Down);
    QTest::keyClick(&slider, Qt::Key_Down);
    EXPECT_EQ(form.VScroll1.value(), 0);
    slider.triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(values, (QList<int>{2, 1, 0, 2}));

    // The model's own value reaches the widget and raises its Change once.
    form.VScroll1.setValue(1);
    EXPECT_EQ(slider.value(), 1);
    EXPECT_EQ(values, (QList<int>{2, 1, 0, 2, 1}));
}
