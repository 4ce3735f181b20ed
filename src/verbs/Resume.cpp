#include "verbs/Resume.h"

#include "platform/ErrorNote.h"

#include <QProcess>

namespace {

std::optional<AlarmRecord> readable(const AlarmStore::Stored& stored) {
    const AlarmRecordText::ReadResult read = AlarmRecordText::read(stored.text);
    if (!read.record) {
        errorNote(QStringLiteral("cannot bring back the alarm in %1: %2; it stays there")
                      .arg(stored.path, stored.text.isEmpty() ? QStringLiteral("it cannot be read")
                                                              : read.error));
        return std::nullopt;
    }
    if (read.record->id != stored.id) {
        errorNote(QStringLiteral("cannot bring back the alarm in %1: its id is %2; it stays there")
                      .arg(stored.path, read.record->id));
        return std::nullopt;
    }
    return read.record;
}
} // namespace

int Verbs::resumeAll(AlarmStore& store, const QString& program) {
    int status = 0;
    for (const AlarmStore::Stored& stored : store.list()) {
        if (stored.held || !readable(stored))
            continue;
        // Its own process, which takes the hold first: of two at once, one brings it back.
        if (!QProcess::startDetached(program, {QStringLiteral("--resume"), stored.id})) {
            errorNote(QStringLiteral("cannot start %1 to bring back the alarm %2")
                          .arg(program, stored.id));
            status = 1;
        }
    }
    return status;
}

Verbs::Taken Verbs::takeRecord(AlarmStore& store, const QString& id) {
    if (!store.hold(id)) {
        errorNote(QStringLiteral("the alarm %1 is already running").arg(id));
        return {std::nullopt, 0};
    }
    for (const AlarmStore::Stored& stored : store.list()) {
        if (stored.id != id)
            continue;
        if (auto record = readable(stored))
            return {record, 0};
        return {std::nullopt, 1};
    }
    // Brought back or ended meanwhile: nothing is left to hold.
    store.remove(id);
    return {std::nullopt, 0};
}
