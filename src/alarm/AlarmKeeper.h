#pragma once

#include "alarm/AlarmRecord.h"
#include "platform/AlarmState.h"
#include "platform/Platform.h"

#include <QString>

#include <optional>

class Program;

// Keeps the alarm outside its window, beside the handlers: its record in the store, its status
// on the session bus, what a resumed alarm brings back with it (its id, its settings file, that
// it fell due while away), a timer that wakes a suspended machine for its next instant, and the
// desktop kept from going idle while it sounds or is near. The program tells it of each event it
// handled; it never runs on a tick that is no update.
class AlarmKeeper {
public:
    AlarmKeeper(Program& program, Platform& platform);
    AlarmKeeper(const AlarmKeeper&) = delete;
    AlarmKeeper& operator=(const AlarmKeeper&) = delete;

    // The id that names its record: made at random, kept for life, and across a resume.
    const QString& id() const { return id_; }
    AlarmState state() const;
    AlarmRecord record() const;

    // Start-up for a recorded alarm: the settings file it used, then the alarm as the record
    // and the time since it was written make it.
    void resume(const AlarmRecord& record);
    // The settings file a resumed alarm used; empty for any other.
    const QString& resumedSettingsFile() const { return resumedSettingsFile_; }

    // The window is up: from now on the record and the session bus follow every change of the
    // alarm. Before, nothing is told (start-up is told once, then).
    void windowShown();
    // An event was handled, or an update came: the bus and the record follow what changed.
    void eventHandled();
    // The alarm is over for good: its record goes, and nothing writes it again; the machine may
    // sleep.
    void drop();
    // The window closes: closed by the user, the alarm ends with the program; with the session,
    // it is kept for the next login.
    void windowClosed(bool sessionEnding);

    // A resumed alarm that fell due while away: when that was. Its "Start:" program, when it came
    // back too late to start it, is never started. An edit of the message forgets both.
    bool launchMissed() const { return launchMissed_; }
    void messageEdited();
    // The notice's line for an alarm that fell due while away, saying when that was; empty for
    // any other.
    QString lateLine() const;

    // An alarm this near, or one that sounds, keeps the desktop from going idle.
    static constexpr qint64 NearMs = 30 * 60 * 1000;

private:
    void keepRecord(AlarmRecord record);
    void forgetRecord();
    // The wake timer follows the instant the alarm waits for; the desktop stays awake while the
    // alarm sounds or is near.
    void keepAwake(const AlarmRecord& record);
    static QString idleReason(const AlarmRecord& record, bool near);
    void disarmWake();
    void releaseIdle();
    void letSleep();
    // The update that the expiry of the wake timer brings at once.
    void wakeExpired();

    Program& program_;
    Platform& platform_;
    QString id_;
    QString resumedSettingsFile_;
    bool shown_ = false;
    bool keepingRecord_ = false;
    std::optional<AlarmRecord> recorded_; // as last written
    bool launchMissed_ = false;
    std::optional<qint64> lateDueMs_;
    std::optional<qint64> wakeFor_; // the instant the wake timer is armed for
    bool inhibiting_ = false;
};
