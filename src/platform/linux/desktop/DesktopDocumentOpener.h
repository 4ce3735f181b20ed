#pragma once

#include "platform/DocumentOpener.h"

// Hands the file to the desktop (xdg-open and its kin), which picks the application for it.
// Needs a QGuiApplication.
class DesktopDocumentOpener : public DocumentOpener {
public:
    bool openDocument(const QString& path) override;
};
