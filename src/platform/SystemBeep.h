#pragma once

class SystemBeep {
public:
    virtual ~SystemBeep() = default;
    // One short beep. Returns at once; never blocks the caller.
    virtual void beep() = 0;
};
