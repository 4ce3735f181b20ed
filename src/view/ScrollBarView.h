#pragma once

#include "ControlView.h"
#include "ui/VScrollBar.h"

class QScrollBar;

// The vertical scroll bar. The model's Min is at the top and may be above its Max; the widget
// keeps its range low to high and turns its appearance over instead.
class ScrollBarView : public ControlView {
public:
    ScrollBarView(VScrollBar& bar, QWidget& window, const PushGuard& guard);

    void push(Property property) override;
    void pushAll() override;

private:
    ScrollBarView(VScrollBar& bar, QScrollBar* widget, const PushGuard& guard);
    void pushRange();
    void pushValue();

    VScrollBar& bar_;
    QScrollBar& widget_;
};
