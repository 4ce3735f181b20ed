#include "ColorMapping.h"

#include "TextContrast.h"

#include <QApplication>
#include <QWidget>

namespace {
QPalette::ColorRole systemRole(Colors::Ole color) {
    switch (color & 0xFFu) {
    case 0x05: // window background
        return QPalette::Base;
    case 0x08: // window text
        return QPalette::Text;
    case 0x0D: // highlight
        return QPalette::Highlight;
    case 0x0E: // highlighted text
        return QPalette::HighlightedText;
    case 0x0F: // button face
        return QPalette::Button;
    case 0x12: // button text
        return QPalette::ButtonText;
    case 0x17: // tooltip text
        return QPalette::ToolTipText;
    case 0x18: // tooltip background
        return QPalette::ToolTipBase;
    default:
        return QPalette::Window;
    }
}
} // namespace

QColor toQColor(Colors::Ole color) {
    if (Colors::isSystem(color))
        return QApplication::palette().color(QPalette::Active, systemRole(color));
    return QColor(int(color & 0xFFu), int((color >> 8) & 0xFFu), int((color >> 16) & 0xFFu));
}

void applyColors(QWidget& widget, QPalette::ColorRole backRole, Colors::Ole back,
                 QPalette::ColorRole foreRole, Colors::Ole fore) {
    QPalette palette = widget.palette();
    palette.setColor(backRole, toQColor(back));
    const QColor foreColor = textColorOn(back, fore);
    palette.setColor(QPalette::Active, foreRole, foreColor);
    palette.setColor(QPalette::Inactive, foreRole, foreColor);
    widget.setPalette(palette);
}
