#pragma once

#include "platform/AlarmStore.h"
#include "platform/linux/shared/AtomicReplace.h"

#include <QString>

#include <map>

// The records as files in the user's state folder, one per alarm: ID.json, held by an open file
// description lock on ID.lock that the kernel drops when the holding process ends. While any
// record is there, an autostart entry brings the alarms back at login.
class FileAlarmStore : public AlarmStore {
public:
    // `program` is the absolute path that the autostart entry runs with --resume.
    FileAlarmStore(QString folder, QString autostartEntry, QString program);
    // The user's folders: $XDG_STATE_HOME/pingolet/ and $XDG_CONFIG_HOME/autostart/.
    static FileAlarmStore forUser();
    ~FileAlarmStore() override;
    FileAlarmStore(const FileAlarmStore&) = delete;
    FileAlarmStore& operator=(const FileAlarmStore&) = delete;
    FileAlarmStore(FileAlarmStore&& other) noexcept;

    bool save(const QString& id, const QByteArray& text) override;
    void remove(const QString& id) override;
    bool hold(const QString& id) override;
    std::vector<Stored> list() override;

    const QString& folder() const { return folder_; }
    const QString& autostartEntry() const { return autostartEntry_; }
    const QString& program() const { return program_; }
    QString recordPath(const QString& id) const;
    // The process that holds the record, as it wrote itself into the lock; 0 when none does.
    qint64 holder(const QString& id) const;

private:
    QString lockPath(const QString& id) const;
    AtomicReplace::Outcome writeAutostartEntry();
    bool anyRecord() const;
    // reason: why it failed, as the failing call said.
    void report(const QString& problem, const QString& reason);

    QString folder_;
    QString autostartEntry_;
    QString program_;
    std::map<QString, int> held_; // id -> the descriptor that holds its lock
    bool reported_ = false;       // one line on standard error until a save succeeds again
};
