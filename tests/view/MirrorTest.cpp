#include "ViewFixture.h"

#include <QApplication>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QTimerEvent>

using MirrorTest = ViewTest;

TEST_F(MirrorTest, ShowsTheFormAsCreated) {
    EXPECT_EQ(view.windowTitle(), QStringLiteral("Pingolet"));
    // The outer size less the frame the form counts: no side borders, a 27-pixel title.
    EXPECT_EQ(view.size(), QSize(376, 143));

    auto& area = widget<QPlainTextEdit>(form.Text4);
    EXPECT_EQ(area.toPlainText(), QStringLiteral("Text4\n"));
    EXPECT_EQ(area.geometry(), QRect(8, 8, 329, 103));
    EXPECT_EQ(area.verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(area.tabChangesFocus());
    EXPECT_FALSE(area.isReadOnly());

    auto& startSet = widget<QLineEdit>(form.Text8);
    EXPECT_TRUE(startSet.isHidden());
    EXPECT_FALSE(startSet.isReadOnly());
    EXPECT_EQ(startSet.maxLength(), 15);
    EXPECT_EQ(startSet.toolTip(), form.Text8.toolTipText());
    EXPECT_EQ(widget<QLineEdit>(form.Text2).maxLength(), 32767); // no limit

    for (const TextBox* display : {&form.Text1, &form.Text2, &form.Text3, &form.Text9})
        EXPECT_TRUE(widget<QLineEdit>(*display).isReadOnly()) << display->name().toStdString();
    EXPECT_EQ(widget<QLineEdit>(form.Text9).text(), QStringLiteral("0"));

    auto& more = widget<QPushButton>(form.CmdOpnX);
    EXPECT_EQ(more.text(), QStringLiteral("More"));
    EXPECT_FALSE(more.isHidden());
    EXPECT_TRUE(widget<QPushButton>(form.CmdEditINI).isHidden());

    EXPECT_FALSE(widget<QTimer>(form.Timer1).isActive());
}

TEST_F(MirrorTest, PushesEachPropertyTheModelChanges) {
    auto& area = widget<QPlainTextEdit>(form.Text4);
    form.Text4.setText(QStringLiteral("one\r\ntwo\r\n"));
    EXPECT_EQ(area.toPlainText(), QStringLiteral("one\ntwo\n"));

    form.Text4.setBackColor(Colors::Red);
    form.Text4.setForeColor(0x00FF8000); // OLE blue-green-red order
    EXPECT_EQ(area.palette().color(QPalette::Base), QColor(255, 0, 0));
    EXPECT_EQ(area.palette().color(QPalette::Text), QColor(0, 128, 255));

    auto& startSet = widget<QLineEdit>(form.Text8);
    form.Text8.setVisible(true);
    EXPECT_FALSE(startSet.isHidden());
    form.Text8.setEnabled(false);
    EXPECT_FALSE(startSet.isEnabled());
    form.Text8.setToolTipText(QStringLiteral("new tip"));
    EXPECT_EQ(startSet.toolTip(), QStringLiteral("new tip"));
    form.Text8.setLeft(1500);
    EXPECT_EQ(startSet.geometry(), QRect(100, 112, 57, 19));

    auto& help = widget<QPushButton>(form.CmdEditINI);
    form.CmdEditINI.setCaption(QStringLiteral("Edit"));
    form.CmdEditINI.setBackColor(Colors::Green);
    EXPECT_EQ(help.text(), QStringLiteral("Edit"));
    EXPECT_EQ(help.palette().color(QPalette::Button), QColor(0, 255, 0));

    form.setCaption(QStringLiteral("0:05 Pingolet"));
    EXPECT_EQ(view.windowTitle(), QStringLiteral("0:05 Pingolet"));
}

TEST_F(MirrorTest, SystemColoursAndFontsComeFromTheDesktop) {
    const QPalette desktop = QApplication::palette();
    EXPECT_EQ(widget<QLineEdit>(form.Text8).palette().color(QPalette::Base),
              desktop.color(QPalette::Base));
    EXPECT_EQ(widget<QLineEdit>(form.Text8).palette().color(QPalette::Text),
              desktop.color(QPalette::Text));
    EXPECT_EQ(widget<QLineEdit>(form.Text3).palette().color(QPalette::Base),
              desktop.color(QPalette::Button)); // button face
    EXPECT_EQ(widget<QLineEdit>(form.Text9).palette().color(QPalette::Base), QColor(255, 255, 0));
    EXPECT_EQ(view.palette().color(QPalette::Window), desktop.color(QPalette::Button));

    const QFont message = widget<QPlainTextEdit>(form.Text4).font();
    EXPECT_EQ(message.family(), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    EXPECT_DOUBLE_EQ(message.pointSizeF(), 12);
    EXPECT_TRUE(message.bold());
    const QFontMetrics metrics(message); // some monospace fonts do not flag themselves fixed
    EXPECT_EQ(metrics.horizontalAdvance(QLatin1Char('i')),
              metrics.horizontalAdvance(QLatin1Char('W')));

    const QFont display = widget<QLineEdit>(form.Text1).font();
    EXPECT_EQ(display.family(), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
    EXPECT_DOUBLE_EQ(display.pointSizeF(), 8.25);
    EXPECT_FALSE(display.bold());
    // A hidden field has its font by the time it shows.
    form.Text8.setVisible(true);
    EXPECT_TRUE(widget<QLineEdit>(form.Text8).font().bold());
    EXPECT_DOUBLE_EQ(widget<QLineEdit>(form.Text8).font().pointSizeF(), 8.25);
}

TEST_F(MirrorTest, ScrollBarKeepsItsRangeLowToHighWithMinAtTheTop) {
    auto& slider = widget<QScrollBar>(form.VScroll1);
    // Created with Min 2 above Max 0: the high end is at the top.
    EXPECT_EQ(slider.orientation(), Qt::Vertical);
    EXPECT_EQ(slider.minimum(), 0);
    EXPECT_EQ(slider.maximum(), 2);
    EXPECT_EQ(slider.value(), 1);
    EXPECT_TRUE(slider.invertedAppearance());
    EXPECT_EQ(slider.singleStep(), 1);
    EXPECT_EQ(slider.pageStep(), 3);

    form.VScroll1.setMin(20);
    form.VScroll1.setMax(5);
    form.VScroll1.setValue(12);
    EXPECT_EQ(slider.minimum(), 5);
    EXPECT_EQ(slider.maximum(), 20);
    EXPECT_EQ(slider.value(), 12);

    // Min below Max puts the low end at the top again.
    form.VScroll1.setMin(0);
    form.VScroll1.setMax(30);
    EXPECT_FALSE(slider.invertedAppearance());
    EXPECT_EQ(slider.maximum(), 30);
}

// The style keeps a scroll bar's drawings under its palette's identity, and Qt's pixmap cache
// keeps every key it was given: a scroll bar that got a new palette at each ReRun colour or
// flash would add to the heap all night.
TEST_F(MirrorTest, ScrollBarsKeepTheirPalettesWhileTheMessageChangesColour) {
    view.show();
    const QList<QScrollBar*> bars = view.findChildren<QScrollBar*>();
    ASSERT_EQ(bars.size(), 3); // the Message Area's two and the slider
    std::vector<qint64> keys;
    for (const QScrollBar* bar : bars)
        keys.push_back(bar->palette().cacheKey());

    auto& area = widget<QPlainTextEdit>(form.Text4);
    for (int i = 0; i < 20; ++i) {
        form.Text4.setBackColor(i % 2 ? Colors::Yellow : Colors::Orange);
        form.Text4.setForeColor(i % 2 ? Colors::Black : Colors::Red);
        QApplication::processEvents();
        EXPECT_EQ(area.palette().color(QPalette::Base),
                  i % 2 ? QColor(255, 255, 0) : QColor(255, 128, 0));
    }
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(bars[int(i)]->palette().cacheKey(), keys[i])
            << bars[int(i)]->objectName().toStdString();
    EXPECT_EQ(area.verticalScrollBar()->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::Base));

    // A new desktop palette (a dark theme, say) still reaches them.
    const QPalette desktop = QApplication::palette();
    QPalette dark = desktop;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    QApplication::setPalette(dark);
    QApplication::processEvents(); // Qt hands a new palette on in an event
    const QColor base = area.verticalScrollBar()->palette().color(QPalette::Base);
    QApplication::setPalette(desktop);
    QApplication::processEvents();
    EXPECT_EQ(base, QColor(30, 30, 30));
}

TEST_F(MirrorTest, EarlierControlsLieOnTopOfLaterOnes) {
    form.Text9.setVisible(true);
    // The ReRun counter in the Message Area's corner, the Help button over the slider.
    EXPECT_EQ(view.childAt(QPoint(20, 100)), &widget<QWidget>(form.Text9));
    form.CmdEditINI.setVisible(true);
    EXPECT_EQ(view.childAt(QPoint(350, 40)), &widget<QWidget>(form.CmdEditINI));
}

TEST_F(MirrorTest, TabOrderFollowsTabIndex) {
    const Control* expected[] = {&form.Text4,      &form.VScroll1,  &form.CmdOpnX, &form.Text8,
                                 &form.Text10,     &form.Text7,     &form.Text6,   &form.Text5,
                                 &form.CmdEditINI, &form.CmdWrtINI, &form.Text3,   &form.Text2,
                                 &form.Text1,      &form.Text9};
    // The chain also holds the widgets' own parts (the Message Area's viewport): skip them.
    QStringList chain;
    QWidget* w = &widget<QWidget>(form.Text4);
    do {
        if (w->parentWidget() == &view)
            chain << w->objectName();
        w = w->nextInFocusChain();
    } while (w != &widget<QWidget>(form.Text4));
    QStringList names;
    for (const Control* control : expected)
        names << control->name();
    EXPECT_EQ(chain, names);
    EXPECT_EQ(view.focusWidget(), &widget<QWidget>(form.Text4));
}

TEST_F(MirrorTest, MaxLengthLimitsTheUserNotTheProgram) {
    Recorder changes;
    recordChanges(form.Text7, changes);
    form.Text7.setVisible(true);
    auto& minimum = widget<QLineEdit>(form.Text7);

    form.Text7.setText(QStringLiteral("12345"));
    EXPECT_EQ(minimum.text(), QStringLiteral("12345"));

    QTest::keyClick(&minimum, Qt::Key_End);
    QTest::keyClick(&minimum, '6');
    EXPECT_EQ(form.Text7.text(), QStringLiteral("12345"));
    QTest::keyClick(&minimum, Qt::Key_Backspace);
    QTest::keyClick(&minimum, Qt::Key_Backspace);
    QTest::keyClick(&minimum, Qt::Key_Backspace);
    QTest::keyClicks(&minimum, QStringLiteral("ab"));
    EXPECT_EQ(form.Text7.text(), QStringLiteral("12a"));
    EXPECT_EQ(changes.texts, (QStringList{"12345", "1234", "123", "12", "12a"}));
}

TEST_F(MirrorTest, TimerTicksAtTheModelsInterval) {
    auto& timer = widget<QTimer>(form.Timer1);
    int ticks = 0;
    count(form.Timer1.TimerEvent, ticks);

    form.Timer1.setInterval(1);
    ASSERT_TRUE(timer.isActive());
    EXPECT_EQ(timer.interval(), 1);
    EXPECT_EQ(timer.timerType(), Qt::PreciseTimer);

    // One tick, delivered as the event loop would.
    QTimerEvent tick(timer.timerId());
    QCoreApplication::sendEvent(&timer, &tick);
    EXPECT_EQ(ticks, 1);

    form.Timer1.setInterval(250);
    EXPECT_EQ(timer.interval(), 250);
    EXPECT_EQ(timer.timerType(), Qt::CoarseTimer);
    form.Timer1.setInterval(0);
    EXPECT_FALSE(timer.isActive());
}

TEST_F(MirrorTest, DisplayTextsShowAtMostOncePerFrameAndEndOnTheLatest) {
    auto& counter = widget<QLineEdit>(form.Text2);
    form.Text2.setText("0.1");
    EXPECT_EQ(counter.text(), "0.1"); // the first change shows at once
    form.Text2.setText("0.2");
    form.Text2.setText("0.3");
    EXPECT_EQ(counter.text(), "0.1"); // held back within the frame
    EXPECT_TRUE(QTest::qWaitFor([&] { return counter.text() == "0.3"; }, 1000));
    form.Text8.setText("5m"); // an editable box is never held back
    EXPECT_EQ(widget<QLineEdit>(form.Text8).text(), "5m");
}

TEST_F(MirrorTest, TheWindowIconComesInTheSizesTitleAndTaskBarsShow) {
    const QList<QSize> sizes = view.windowIcon().availableSizes();
    for (int size : {16, 32, 48})
        EXPECT_TRUE(sizes.contains(QSize(size, size))) << size;
}
