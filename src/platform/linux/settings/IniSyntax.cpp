#include "IniSyntax.h"

#include <cstring>

namespace IniSyntax {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

QByteArrayView trimBlanks(QByteArrayView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from])) {
        ++from;
    }
    while (to > from && isBlank(text[to - 1])) {
        --to;
    }
    return text.sliced(from, to - from);
}

QByteArrayView unquote(QByteArrayView value) {
    if (value.size() >= 2) {
        const char first = value.front();
        if ((first == '"' || first == '\'') && value.back() == first) {
            return value.sliced(1, value.size() - 2);
        }
    }
    return value;
}

} // namespace

LineScanner::LineScanner(QByteArrayView bytes, qsizetype from) : bytes_(bytes), pos_(from) {}

qsizetype LineScanner::find(char c, qsizetype from) const {
    const void* hit = std::memchr(bytes_.data() + from, c, size_t(bytes_.size() - from));
    return hit ? static_cast<const char*>(hit) - bytes_.data() : bytes_.size();
}

bool LineScanner::next(Line& line) {
    const qsizetype size = bytes_.size();
    if (pos_ >= size) {
        return false;
    }
    if (nextLf_ < pos_) {
        nextLf_ = find('\n', pos_);
    }
    if (nextCr_ < pos_) {
        nextCr_ = find('\r', pos_);
    }
    line.start = pos_;
    if (nextCr_ < nextLf_) {
        line.contentEnd = nextCr_;
        const bool crLf = nextLf_ == nextCr_ + 1 && nextLf_ < size;
        line.end = crLf ? nextLf_ + 1 : nextCr_ + 1;
    } else {
        line.contentEnd = nextLf_;
        line.end = nextLf_ < size ? nextLf_ + 1 : size;
    }
    pos_ = line.end;
    return true;
}

Parsed parse(QByteArrayView content) {
    const QByteArrayView text = trimBlanks(content);
    if (text.isEmpty()) {
        return {};
    }
    if (text.front() == ';') {
        return {Kind::Comment, {}, {}};
    }
    if (text.front() == '[') {
        const qsizetype close = text.indexOf(']');
        if (close < 0) {
            return {};
        }
        return {Kind::Section, trimBlanks(text.sliced(1, close - 1)), {}};
    }
    const qsizetype equals = text.indexOf('=');
    if (equals < 0) {
        return {};
    }
    return {Kind::Key, trimBlanks(text.first(equals)),
            unquote(trimBlanks(text.sliced(equals + 1)))};
}

} // namespace IniSyntax
