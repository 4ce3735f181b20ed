#include "QtPrinters.h"
#include "view/ColorMapping.h"
#include "view/LineBreaks.h"
#include "view/Twips.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(ViewConversionTest, LineBreaksTwipsAndColours) {
    EXPECT_EQ(toWidgetLineBreaks(QStringLiteral("a\r\nb\r\n")), QStringLiteral("a\nb\n"));
    EXPECT_EQ(toModelLineBreaks(QStringLiteral("a\nb\n")), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(toWidgetLineBreaks(QStringLiteral("12:00")), QStringLiteral("12:00"));

    EXPECT_EQ(Twips::toPixels(4940), 329);
    EXPECT_EQ(Twips::toPixels(8), 1);
    EXPECT_EQ(Twips::toPixels(7), 0);
    EXPECT_EQ(Twips::toPixels(-8), -1);
    EXPECT_EQ(Twips::toPixels(-7), 0);
    EXPECT_EQ(Twips::fromPixels(376), 5640);

    EXPECT_EQ(toQColor(Colors::Red), QColor(255, 0, 0));
    EXPECT_EQ(toQColor(Colors::Orange), QColor(255, 128, 0));
    EXPECT_EQ(toQColor(Colors::WindowText), QApplication::palette().color(QPalette::Text));
    EXPECT_EQ(toQColor(Colors::ButtonFace), QApplication::palette().color(QPalette::Button));
}
