#include "app/CommandLineNotes.h"

#include "app/CommandLineMarkers.h"
#include "app/Program.h"

#include <vector>

namespace {
const QString seeHelp = QStringLiteral(" (see pingolet --help)");

// Marks the characters from `start` to before `end` (positions from 1) as taken.
void take(std::vector<bool>& taken, int start, int end) {
    for (int i = start; i < end && i <= int(taken.size()); ++i)
        taken[std::size_t(i - 1)] = true;
}

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

QStringList ignoredPieces(const QString& line) {
    std::vector<bool> taken(std::size_t(line.size()), false);
    const QStringView help(CommandLineMarkers::Help);
    if (line.contains(help)) {
        // "/?" rebuilds the settings file and reads nothing else.
        for (qsizetype at = line.indexOf(help); at >= 0; at = line.indexOf(help, at + 1))
            take(taken, int(at) + 1, int(at + help.size()) + 1);
    } else {
        for (const char16_t* marker : CommandLineMarkers::Markers) {
            if (const auto found = CommandLineMarkers::find(line, QStringView(marker)))
                take(taken, found->marker, found->end);
        }
    }
    QStringList pieces;
    QString piece;
    for (qsizetype i = 0; i <= line.size(); ++i) {
        if (i < line.size() && !taken[std::size_t(i)] && !isBlank(line[i])) {
            piece += line[i];
        } else if (!piece.isEmpty()) {
            pieces << piece;
            piece.clear();
        }
    }
    return pieces;
}

// The time field holds the command line's own value and shows it red.
std::optional<QString> rejectedTime(const QString& line, QStringView marker, const TextBox& field) {
    const auto found = CommandLineMarkers::find(line, marker);
    if (!found || field.backColor() != Colors::Red ||
        field.text() != CommandLineMarkers::value(line, *found))
        return std::nullopt;
    return line.mid(found->marker - 1, found->end - found->marker).trimmed();
}
} // namespace

QStringList CommandLineNotes::notes(const Program& program) {
    const QString& line = program.m.CommandLine;
    QStringList notes;
    for (const QString& piece : ignoredPieces(line))
        notes << QStringLiteral("ignored \"%1\": not an argument it knows").arg(piece) + seeHelp;
    if (line.contains(QStringView(CommandLineMarkers::Help)))
        return notes;
    if (const auto given = rejectedTime(line, u"/ss=", program.form.Text8))
        notes << QStringLiteral("\"%1\" is not a time such as 30s, 25m, 1.5h or "
                                "07h30; the StartSet field shows it red")
                         .arg(*given) +
                     seeHelp;
    if (const auto given = rejectedTime(line, u"/dd=", program.form.Text10))
        notes << QStringLiteral("\"%1\" is not a time such as 30s, 5m or 0.5h; the "
                                "DropDead field shows it red")
                         .arg(*given) +
                     seeHelp;
    return notes;
}
