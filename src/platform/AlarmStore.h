#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// Where pending alarms are kept while their programs run, and found again when one is gone. A
// record is held by the running program that keeps it; the hold ends with its process, however
// that ends.
class AlarmStore {
public:
    virtual ~AlarmStore() = default;

    // Replaces the alarm's record with this text and holds it. False when it could not be
    // written; the alarm runs on all the same.
    virtual bool save(const QString& id, const QByteArray& text) = 0;
    // The record goes, and its hold with it; nothing when there is none.
    virtual void remove(const QString& id) = 0;
    // Holds the record for this process, so that no other program brings the alarm back. False
    // when another running program holds it.
    virtual bool hold(const QString& id) = 0;

    struct Stored {
        QString id;
        QString path;
        QByteArray text;   // empty when the file could not be read
        bool held = false; // by a running program, this one included
        qint64 pid = 0;    // the program that holds it, when it said so
    };
    // Every record there is, oldest first.
    virtual std::vector<Stored> list() = 0;
};
