#include "VScrollBar.h"

bool VScrollBar::setMin(int v) {
    if (!fits16(v))
        return false;
    assign(min_, v, Property::Min);
    clampValue();
    return true;
}

bool VScrollBar::setMax(int v) {
    if (!fits16(v))
        return false;
    assign(max_, v, Property::Max);
    clampValue();
    return true;
}

bool VScrollBar::setValue(int v) {
    if (v < low() || v > high())
        return false;
    if (v == value_)
        return true;
    value_ = v;
    notify(Property::Value);
    Change.raise();
    return true;
}

void VScrollBar::clampValue() {
    if (value_ < low())
        setValue(low());
    else if (value_ > high())
        setValue(high());
}

void VScrollBar::createRange(int min, int max, int value, int smallChange, int largeChange) {
    min_ = min;
    max_ = max;
    value_ = value;
    smallChange_ = smallChange;
    largeChange_ = largeChange;
}
