#pragma once

#include "platform/ProfileFile.h"

// Settings files read and written directly, one key at a time. Every call reads the file again:
// a settings file is a few kilobytes, and a cache keyed on the file's times could miss a change
// made within the same clock tick.
class IniProfileFile : public ProfileFile {
public:
    QString readString(const QString& section, const QString& key, const QString& defaultValue,
                       const QString& path) override;
    bool writeString(const QString& section, const QString& key, const QString& value,
                     const QString& path) override;

    // Larger files are not settings files: reading gives the default, and writing fails rather
    // than lose what lies beyond.
    static constexpr qint64 maxFileSize = qint64(256) << 20;
};
