#pragma once

#include <QString>

// A control's font as the form declares it. The view maps the family to a style hint.
struct Font {
    enum class Family { SansSerif, Monospace };
    Family family = Family::SansSerif;
    QString name; // the declared face, e.g. "MS Sans Serif"
    double pointSize = 8.25;
    bool bold = false;

    static Font sansSerif(double size, bool bold) {
        return {Family::SansSerif, QStringLiteral("MS Sans Serif"), size, bold};
    }
    static Font monospace(double size, bool bold) {
        return {Family::Monospace, QStringLiteral("Lucida Console"), size, bold};
    }
    bool operator==(const Font&) const = default;
};
