#pragma once

#include <functional>
#include <utility>

// A control's event: one handler, raised synchronously. Raising it from inside another
// handler runs it nested, before the raising statement returns.
class Event {
public:
    void connect(std::function<void()> handler) { handler_ = std::move(handler); }
    void raise() const {
        if (handler_)
            handler_();
    }
    bool connected() const { return static_cast<bool>(handler_); }

private:
    std::function<void()> handler_;
};
