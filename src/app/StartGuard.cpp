#include "app/StartGuard.h"

#include "platform/ErrorNote.h"

#include <QList>

#include <unistd.h>
#include <utility>

namespace {
struct Waiting {
    QtMsgType type;
    const char* file; // the context's texts are static: source locations, category names
    int line;
    const char* function;
    const char* category;
    QString text;
};

QtMessageHandler previous = nullptr;
QString fatalLine;
QList<Waiting> waiting;

void onMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (type == QtFatalMsg && !fatalLine.isEmpty()) {
        errorNote(fatalLine);
        _exit(1);
    }
    if (type == QtFatalMsg) {
        previous(type, context, text);
        return;
    }
    waiting.append({type, context.file, context.line, context.function, context.category, text});
}
} // namespace

StartGuard::StartGuard(QString line) {
    fatalLine = std::move(line);
    previous = qInstallMessageHandler(onMessage);
}

StartGuard::~StartGuard() {
    qInstallMessageHandler(previous);
    for (const Waiting& w : std::exchange(waiting, {})) {
        const QMessageLogContext context(w.file, w.line, w.function, w.category);
        qt_message_output(w.type, context, w.text);
    }
}
