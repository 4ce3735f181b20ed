#pragma once

#include "Control.h"

// A vertical scroll bar whose Min may lie above its Max; Value stays between the two.
class VScrollBar : public Control {
public:
    explicit VScrollBar(QString name) : Control(Kind::VScrollBar, std::move(name)) {}

    int min() const { return min_; }
    int max() const { return max_; }
    int value() const { return value_; }
    int smallChange() const { return smallChange_; }
    int largeChange() const { return largeChange_; }
    int low() const { return min_ < max_ ? min_ : max_; }
    int high() const { return min_ < max_ ? max_ : min_; }

    // A new end that leaves Value outside moves Value to the nearer end, raising Change.
    bool setMin(int v);
    bool setMax(int v);
    // A value outside the range is refused. Raises Change when it really changes.
    bool setValue(int v);

    void createRange(int min, int max, int value, int smallChange, int largeChange);

private:
    static bool fits16(int v) { return v >= -32768 && v <= 32767; }
    void clampValue();

    int min_ = 0;
    int max_ = 32767;
    int value_ = 0;
    int smallChange_ = 1;
    int largeChange_ = 1;
};
