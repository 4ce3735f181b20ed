#include "FakePlatform.h"
#include "view/MainWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionFrame>
#include <QTest>
#include <gtest/gtest.h>

// The window at the scale it runs at (ctest runs these at QT_SCALE_FACTOR 1, 1.5 and 2):
// every control inside the window and clear of the others, every text inside its control in
// the font the control really has.
namespace {
// A caption this close to its button's frame looks cut off.
constexpr int captionPadding = 2;

// The room the style leaves a text inside a widget.
QRect textRoom(QWidget& widget) {
    if (auto* button = qobject_cast<QPushButton*>(&widget)) {
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        return button->style()
            ->subElementRect(QStyle::SE_PushButtonContents, &option, button)
            .adjusted(captionPadding, 0, -captionPadding, 0);
    }
    auto& edit = static_cast<QLineEdit&>(widget);
    QStyleOptionFrame option;
    option.initFrom(&edit);
    option.lineWidth = edit.hasFrame()
                           ? edit.style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, &edit)
                           : 0;
    const QRect contents =
        edit.style()->subElementRect(QStyle::SE_LineEditContents, &option, &edit);
    // QLineEdit keeps 2 pixels on either side of its text.
    return contents.marginsRemoved(edit.textMargins()).adjusted(2, 0, -2, 0);
}

struct GeometryTest : testing::Test {
    Harness h;
    std::unique_ptr<MainWindow> view;
    QStringList report;

    void SetUp() override {
        h.settingsFile({{"StartSet", "25m"}, {"DropDead", "5m"}, {"Message", "Tea is ready"}});
        h.program.Form_Load();
        view = std::make_unique<MainWindow>(h.form);
        view->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(view.get()));
        if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) {
            ASSERT_DOUBLE_EQ(view->devicePixelRatioF(),
                             qEnvironmentVariable("QT_SCALE_FACTOR").toDouble());
        }
    }
    void TearDown() override {
        if (qEnvironmentVariableIsSet("PINGOLET_GEOMETRY_REPORT"))
            std::printf("scale %g:\n%s\n", view->devicePixelRatioF(),
                        qPrintable(report.join(u'\n')));
    }

    void checkWhole(const char* state) {
        QApplication::processEvents();
        SCOPED_TRACE(state);
        const QRect window = view->rect();
        std::vector<QWidget*> shown;
        for (QWidget* w : view->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (w->isVisible())
                shown.push_back(w);
        }
        for (QWidget* w : shown) {
            const std::string name = w->objectName().toStdString();
            EXPECT_TRUE(window.contains(w->geometry())) << name << " lies outside the window";
            for (QWidget* other : shown) {
                // The ReRun counter sits in the Message Area's corner by design.
                const bool corner = w->objectName() == "Text9" && other->objectName() == "Text4";
                if (w < other || corner || other == w ||
                    (other->objectName() == "Text9" && w->objectName() == "Text4"))
                    continue;
                EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                    << name << " overlaps " << other->objectName().toStdString();
            }
            if (qobject_cast<QPushButton*>(w))
                checkText(*w, static_cast<QPushButton*>(w)->text());
            else if (auto* edit = qobject_cast<QLineEdit*>(w))
                checkText(*w, edit->text());
        }
    }

    void checkText(QWidget& w, const QString& text) {
        const QRect room = textRoom(w);
        const QFontMetrics metrics = w.fontMetrics();
        const int width = metrics.horizontalAdvance(text);
        EXPECT_LE(width, room.width())
            << '"' << text.toStdString() << "\" in " << w.objectName().toStdString();
        EXPECT_LE(metrics.height(), room.height())
            << "the font is taller than " << w.objectName().toStdString();
        report << QStringLiteral("  %1 \"%2\": %3 of %4 px wide, %5 of %6 px high, %7 pt")
                      .arg(w.objectName(), text)
                      .arg(width)
                      .arg(room.width())
                      .arg(metrics.height())
                      .arg(room.height())
                      .arg(w.font().pointSizeF());
    }
};
} // namespace

TEST_F(GeometryTest, WholeWithTheAreaClosedAndOpen) {
    // The widest texts the display boxes show.
    h.form.Text1.setText("999");
    h.form.Text2.setText("999");
    for (const char* time : {"9.9 Sec.", "59 Min.", "9.9 Min.", "23 Hr.", "6.9 Dy.", "99 Wk."}) {
        h.form.Text3.setText(time);
        checkWhole("closed");
    }
    QTest::mouseClick(view->findChild<QPushButton*>("CmdOpnX"), Qt::LeftButton);
    h.form.Text5.setText("999");
    checkWhole("open");
}

TEST_F(GeometryTest, WholeWithTheReRunCounter) {
    h.form.Text4.setText("ReRun: Off=10m On=30s : stretch");
    ASSERT_TRUE(h.form.Text9.visible());
    h.form.Text9.setText("123.5");
    checkWhole("ReRun");
}
