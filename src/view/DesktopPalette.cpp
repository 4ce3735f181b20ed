#include "DesktopPalette.h"

#include <QApplication>
#include <QEvent>
#include <QPalette>
#include <QWidget>

namespace {
void applyDesktopPalette(QWidget& widget) {
    const QPalette desktop = QApplication::palette(&widget);
    QPalette own;
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto g = QPalette::ColorGroup(group);
            const auto r = QPalette::ColorRole(role);
            own.setBrush(g, r, desktop.brush(g, r)); // sets the role as the widget's own
        }
    }
    widget.setPalette(own);
}

// Qt tells only the windows of a new desktop palette; they hand it on to the controls that
// inherit it, which this one does not.
class DesktopPaletteFollower : public QObject {
public:
    explicit DesktopPaletteFollower(QWidget& widget) : QObject(&widget), widget_(widget) {
        widget_.window()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ApplicationPaletteChange)
            applyDesktopPalette(widget_);
        return QObject::eventFilter(watched, event);
    }

private:
    QWidget& widget_;
};
} // namespace

void keepDesktopPalette(QWidget& widget) {
    applyDesktopPalette(widget);
    new DesktopPaletteFollower(widget);
}
