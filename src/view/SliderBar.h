#pragma once

#include <QScrollBar>

// The update-rate slider's widget: a scroll bar that shows when it has the keyboard focus (the
// style draws no mark of its own on a scroll bar), and that screen readers know as a slider
// whose value is the update interval in milliseconds.
class SliderBar : public QScrollBar {
    Q_OBJECT

public:
    explicit SliderBar(QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;
};
