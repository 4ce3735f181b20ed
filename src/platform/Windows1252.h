#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// The 8-bit code page of the settings files.
namespace Windows1252 {
// Every byte decodes; the five bytes the code page leaves undefined keep their Latin-1 value.
QString decode(QByteArrayView bytes);
// Empty when the text holds a character the code page cannot represent.
std::optional<QByteArray> encode(QStringView text);
} // namespace Windows1252
