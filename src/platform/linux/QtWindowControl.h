#pragma once

#include "platform/WindowControl.h"

// The program's windows are its own Qt top-level widgets.
class QtWindowControl : public WindowControl {
public:
    void activateByTitle(const QString& title) override;
    void endProgram() override;
};
