#pragma once

#include <QString>

#include <optional>

// What the ways in from outside the window (the session bus, the notification's buttons, the
// panel icon) ask of a running alarm, each as the window's own event does it.
class AlarmAnswers {
public:
    virtual ~AlarmAnswers() = default;
    // As an edit of the message with its text unchanged: a sounding alarm ends idle.
    virtual void Acknowledge() = 0;
    // As the duration entered as StartSet; the reason when it gives no time to wait, and then
    // nothing changes.
    virtual std::optional<QString> Snooze(const QString& duration) = 0;
    // As closing the window: the alarm and its program end.
    virtual void Cancel() = 0;
};
