#pragma once

#include "ui/FormObserver.h"

// What the window keeps for each control: something that shows one model property again.
class ControlMirror {
public:
    virtual ~ControlMirror() = default;
    virtual void push(Property property) = 0;
    // Shows every property, once, at creation.
    virtual void pushAll() = 0;
};
