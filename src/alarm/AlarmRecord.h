#pragma once

#include "platform/AlarmState.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// What brings a pending alarm back after its program is gone, and what a list of alarms shows.
// Instants are milliseconds since 1970 in UTC; the window's place and size are in twips.
struct AlarmRecord {
    static constexpr int FormatVersion = 1;

    QString id;
    AlarmState state = AlarmState::Idle; // as it was when the record was written; never Away
    std::int16_t mode = 0;
    QString message;
    // When the countdown reaches zero: beeping begins, a ReRun On period begins or began, a
    // "Start:" program is due.
    qint64 dueMs = 0;
    std::optional<qint64> onsetMs; // once beeping has begun
    float dropDeadSeconds = 0;
    QString dropDeadText;
    QString startSetText;
    std::int16_t rateMin = 1;
    std::int16_t rateSet = 20;
    std::int16_t rateMax = 32;
    float reRunOffSeconds = 0;
    float reRunOnSeconds = 0;
    QString cycles = QStringLiteral("0");
    QString settingsFile;
    bool controlAreaOpen = false;
    int windowLeft = 0;
    int windowTop = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int windowState = 0;

    // The same alarm as far as a reader could tell: instants may differ by the rounding that
    // the countdown's single float gathers between updates.
    bool sameAs(const AlarmRecord& other) const;
};

// The record's file form: a small JSON object that carries its format version.
namespace AlarmRecordText {
QByteArray write(const AlarmRecord& record);
// The record, or the reason it cannot be read (a damaged file, a newer format, a value out of
// range): one line, for the user.
struct ReadResult {
    std::optional<AlarmRecord> record;
    QString error;
};
ReadResult read(const QByteArray& text);
} // namespace AlarmRecordText
