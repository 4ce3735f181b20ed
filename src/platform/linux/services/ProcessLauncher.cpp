#include "ProcessLauncher.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cerrno>
#include <csignal>
#include <sys/types.h>
#include <sys/wait.h>

namespace {

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// The executable a program name stands for, or an empty string.
QString resolveExecutable(const QString& name) {
    if (name.isEmpty()) {
        return {};
    }
    if (name.contains(QLatin1Char('/'))) {
        const QFileInfo info(name);
        return info.isFile() && info.isExecutable() ? name : QString();
    }
    return QStandardPaths::findExecutable(name);
}

// Whether /proc says the process has ended but was not reaped yet. When nobody reaps
// orphans (a container whose first process does not), an ended program stays a zombie.
bool isZombie(qint64 processId) {
    QFile stat(QStringLiteral("/proc/%1/stat").arg(processId));
    if (!stat.open(QIODevice::ReadOnly)) {
        return false;
    }
    // "pid (name) S ...": the name may hold blanks and parentheses, the state follows the
    // last closing parenthesis.
    const QByteArray line = stat.readAll();
    const qsizetype close = line.lastIndexOf(')');
    return close >= 0 && close + 2 < line.size() && line.at(close + 2) == 'Z';
}

struct Command {
    QString program; // the executable's path, empty when the line names none
    QStringList arguments;
};

QStringList splitArguments(const QString& text) {
    QStringList arguments;
    QString current;
    bool inArgument = false;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            quoted = !quoted;
            inArgument = true; // "" is an empty argument
        } else if (isBlank(c) && !quoted) {
            if (inArgument) {
                arguments.append(current);
                current.clear();
                inArgument = false;
            }
        } else {
            current.append(c);
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.append(current);
    }
    return arguments;
}

Command parse(const QString& commandLine) {
    const QString line = commandLine.trimmed();
    for (qsizetype end = 0; end <= line.size(); ++end) {
        const bool prefixEnds =
            end == line.size() || (isBlank(line.at(end)) && end > 0 && !isBlank(line.at(end - 1)));
        if (!prefixEnds) {
            continue;
        }
        const QString program = resolveExecutable(line.left(end));
        if (!program.isEmpty()) {
            return {program, splitArguments(line.mid(end))};
        }
    }
    // Windows habit: the program quoted as a whole.
    if (line.startsWith(QLatin1Char('"'))) {
        const qsizetype close = line.indexOf(QLatin1Char('"'), 1);
        if (close > 0) {
            const QString program = resolveExecutable(line.mid(1, close - 1));
            if (!program.isEmpty()) {
                return {program, splitArguments(line.mid(close + 1))};
            }
        }
    }
    return {};
}

} // namespace

qint64 ProcessLauncher::launch(const QString& commandLine, WindowStyle) {
    const Command command = parse(commandLine);
    if (command.program.isEmpty()) {
        return 0;
    }
    qint64 processId = 0;
    if (!QProcess::startDetached(command.program, command.arguments, QString(), &processId)) {
        return 0;
    }
    return processId > 0 ? processId : 0;
}

bool ProcessLauncher::isRunning(qint64 processId) {
    if (processId <= 0) {
        return false;
    }
    const auto pid = static_cast<pid_t>(processId);
    if (static_cast<qint64>(pid) != processId) {
        return false;
    }
    // Detached programs are not our children, but reap one that is, so that it does not
    // linger as a zombie that still answers kill().
    int status = 0;
    if (::waitpid(pid, &status, WNOHANG) == pid) {
        return false;
    }
    if (::kill(pid, 0) != 0 && errno != EPERM) {
        return false;
    }
    return !isZombie(processId);
}
