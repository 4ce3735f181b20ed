#pragma once

// Set while the view writes a model value into a widget: the widget's own signals about that
// write are echoes, not user input, and must not reach the model again.
class PushGuard {
public:
    bool active() const { return active_; }

    class Scope {
    public:
        explicit Scope(PushGuard& guard) : guard_(guard), outer_(guard.active_) {
            guard_.active_ = true;
        }
        ~Scope() { guard_.active_ = outer_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        PushGuard& guard_;
        bool outer_;
    };

private:
    bool active_ = false;
};
