// Writes the pixels of square PNG icons as a C++ source, so that the program shows its icon
// without decoding an image at start-up.
//   embed_icon_pixels OUTPUT.cpp ICON.png...
#include <QFile>
#include <QImage>
#include <QImageReader>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s OUTPUT.cpp ICON.png...\n", argv[0]);
        return 2;
    }
    QByteArray text =
        "// Made by embed_icon_pixels at build time.\n#include \"view/IconPixels.h\"\n\n"
        "namespace {\n";
    QByteArray table;
    for (int i = 2; i < argc; ++i) {
        QImageReader reader(QString::fromLocal8Bit(argv[i]));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        if (image.isNull() || image.width() != image.height()) {
            std::fprintf(stderr, "%s: not a square image: %s\n", argv[i],
                         qPrintable(reader.errorString()));
            return 1;
        }
        const int size = image.width();
        text += "const uint32_t pixels" + QByteArray::number(size) + "[] = {";
        for (int y = 0; y < size; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            for (int x = 0; x < size; ++x)
                text += ((x + y * size) % 8 ? " 0x" : "\n    0x") +
                        QByteArray::number(line[x], 16).rightJustified(8, '0') + "u,";
        }
        text += "\n};\n";
        table +=
            "    {" + QByteArray::number(size) + ", pixels" + QByteArray::number(size) + "},\n";
    }
    text += "const IconPixels icons[] = {\n" + table +
            "};\n} // namespace\n\n"
            "std::span<const IconPixels> iconPixels() {\n    return icons;\n}\n";
    QFile out(QString::fromLocal8Bit(argv[1]));
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.flush()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}
