#include "SliderBar.h"

#include <QAccessibleWidget>
#include <QPainter>

namespace {
class SliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit SliderAccessible(QWidget* widget) : QAccessibleWidget(widget, QAccessible::Slider) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return QString::number(bar()->value());
        return QAccessibleWidget::text(t);
    }

    QVariant currentValue() const override { return bar()->value(); }
    void setCurrentValue(const QVariant& value) override { bar()->setValue(value.toInt()); }
    QVariant maximumValue() const override { return bar()->maximum(); }
    QVariant minimumValue() const override { return bar()->minimum(); }
    QVariant minimumStepSize() const override { return bar()->singleStep(); }

private:
    QScrollBar* bar() const { return static_cast<QScrollBar*>(widget()); }
};

QAccessibleInterface* sliderAccessible(const QString& className, QObject* object) {
    if (className == QLatin1String("SliderBar") && object && object->isWidgetType())
        return new SliderAccessible(static_cast<QWidget*>(object));
    return nullptr;
}
} // namespace

SliderBar::SliderBar(QWidget* parent) : QScrollBar(Qt::Vertical, parent) {
    static const bool installed = [] {
        QAccessible::installFactory(sliderAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

void SliderBar::paintEvent(QPaintEvent* event) {
    QScrollBar::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}
