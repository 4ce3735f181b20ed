#pragma once

#include <QString>

// Single keys of INI-style settings files.
class ProfileFile {
public:
    virtual ~ProfileFile() = default;
    // The value of `key` in `section` of the file at `path`, or `defaultValue` when the file,
    // the section or the key is missing. Cut to 254 characters.
    virtual QString readString(const QString& section, const QString& key,
                               const QString& defaultValue, const QString& path) = 0;
    // Writes `key=value` into `section`, changing nothing else in the file. False when the
    // file could not be written; the file is then as it was.
    virtual bool writeString(const QString& section, const QString& key, const QString& value,
                             const QString& path) = 0;
};
