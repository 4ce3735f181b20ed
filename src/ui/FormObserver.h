#pragma once

class Control;

enum class Property {
    Text,
    Caption,
    BackColor,
    ForeColor,
    Visible,
    Enabled,
    Left,
    Top,
    Width,
    Height,
    ToolTipText,
    MaxLength,
    TabIndex,
    Min,
    Max,
    Value,
    Interval,
    WindowState,
};

// The one observer of the form model (the view). Told after a property has changed.
class FormObserver {
public:
    virtual ~FormObserver() = default;
    virtual void propertyChanged(const Control& control, Property property) = 0;
};
