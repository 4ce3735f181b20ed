#include "QtPrinters.h"
#include "ui/Form1.h"
#include "view/MainWindow.h"
#include "view/TextContrast.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <gtest/gtest.h>

#include <memory>

namespace {
struct Theme {
    const char* name;
    QPalette palette;
};

QPalette darkPalette(QColor window, QColor base, QColor button, QColor text) {
    QPalette p;
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        p.setColor(group, QPalette::Window, window);
        p.setColor(group, QPalette::Base, base);
        p.setColor(group, QPalette::Button, button);
        for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            p.setColor(group, role, text);
    }
    return p;
}

// The desktop's own light palette, and the dark ones of KDE (Breeze Dark) and of GNOME's GTK
// theme (Adwaita dark) as Qt's platform themes hand them over.
std::vector<Theme> themes() {
    return {
        {"light", QApplication::style()->standardPalette()},
        {"Breeze Dark", darkPalette({32, 35, 38}, {20, 22, 24}, {41, 44, 48}, {252, 252, 252})},
        {"Adwaita dark", darkPalette({53, 53, 53}, {45, 45, 45}, {53, 53, 53}, {238, 238, 236})}};
}

struct Pair {
    const char* what;
    TextBox Form1::*box; // nullptr: the buttons
    Colors::Ole back;
    Colors::Ole fore;
};

// Every text and background colour the program puts together.
const Pair pairs[] = {
    {"message", &Form1::Text4, Colors::WindowBackground, Colors::WindowText},
    {"flash, dark phase", &Form1::Text4, Colors::WindowBackground, Colors::Black},
    {"flash, red phase", &Form1::Text4, Colors::WindowBackground, Colors::Red},
    {"launch pending", &Form1::Text4, Colors::Green, Colors::WindowText},
    {"launch failed", &Form1::Text4, Colors::Red, Colors::WindowText},
    {"ReRun Off", &Form1::Text4, Colors::Yellow, Colors::WindowText},
    {"ReRun On", &Form1::Text4, Colors::Orange, Colors::WindowText},
    {"cycle count, Off", &Form1::Text9, Colors::Yellow, Colors::WindowText},
    {"cycle count, On", &Form1::Text9, Colors::Orange, Colors::WindowText},
    {"cycle count, plain", &Form1::Text9, Colors::WindowBackground, Colors::WindowText},
    {"time to the beeping", &Form1::Text3, Colors::Green, Colors::Black},
    {"time since the beeping", &Form1::Text3, Colors::Red, Colors::White},
    {"display box", &Form1::Text1, Colors::ButtonFace, Colors::WindowText},
    {"field", &Form1::Text8, Colors::WindowBackground, Colors::WindowText},
    {"field, rejected", &Form1::Text8, Colors::Red, Colors::WindowText},
    {"button", nullptr, Colors::ButtonFace, Colors::WindowText},
};

QColor exact(Colors::Ole c) {
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}
} // namespace

TEST(Contrast, KnownRatios) {
    EXPECT_NEAR(contrastRatio(Qt::black, Qt::white), 21.0, 1e-9);
    EXPECT_NEAR(contrastRatio(Qt::white, QColor(255, 0, 0)), 4.0, 0.01);
    EXPECT_NEAR(contrastRatio(QColor(255, 0, 0), Qt::black), 5.25, 0.01);
}

// At least 4.5:1 for every pair, except where the colours themselves are prescribed (red text,
// white on red): those are drawn exactly so, and the figure is what they allow.
TEST(Contrast, EveryTextReadsOnItsBackgroundInLightAndDarkThemes) {
    const QPalette before = QApplication::palette();
    for (const Theme& theme : themes()) {
        QApplication::setPalette(theme.palette);
        Form1 form;
        MainWindow view(form);
        for (const Pair& pair : pairs) {
            Control& control = pair.box ? static_cast<Control&>(form.*pair.box) : form.CmdOpnX;
            control.setBackColor(pair.back);
            control.setForeColor(pair.fore);
            QWidget* widget = view.findChild<QWidget*>(control.name());
            ASSERT_TRUE(widget);
            const bool button = qobject_cast<QPushButton*>(widget) != nullptr;
            const QColor back = widget->palette().color(button ? QPalette::Button : QPalette::Base);
            const QColor text =
                widget->palette().color(button ? QPalette::ButtonText : QPalette::Text);
            const double ratio = contrastRatio(text, back);
            const bool prescribed = pair.fore == Colors::Red || pair.fore == Colors::White;
            if (prescribed) {
                EXPECT_EQ(text, exact(pair.fore)) << theme.name << ", " << pair.what;
                EXPECT_GE(ratio, 3.0) << theme.name << ", " << pair.what;
            } else {
                EXPECT_GE(ratio, 4.5) << theme.name << ", " << pair.what;
            }
            if (!Colors::isSystem(pair.back)) {
                EXPECT_EQ(back, exact(pair.back)) << theme.name << ", " << pair.what;
            }
            if (qEnvironmentVariableIsSet("PINGOLET_CONTRAST_TABLE"))
                std::printf("%-13s %-24s %5.2f : 1  (%s on %s)\n", theme.name, pair.what, ratio,
                            qPrintable(text.name()), qPrintable(back.name()));
        }
    }
    QApplication::setPalette(before);
}
