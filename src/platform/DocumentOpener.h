#pragma once

#include <QString>

class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    // Opens the file in the desktop's default application for it. False when that fails.
    virtual bool openDocument(const QString& path) = 0;
};
