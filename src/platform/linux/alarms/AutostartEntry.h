#pragma once

#include <QByteArray>
#include <QString>

// The XDG autostart entry that runs `pingolet --resume` at login while alarms are recorded.
namespace AutostartEntry {
QString fileName(); // <application id>.resume.desktop
// Runs this program, named by its absolute path, quoted as desktop entries quote.
QByteArray text(const QString& program);
} // namespace AutostartEntry
