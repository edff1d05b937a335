#include "BmpWriter.h"

#include <QSaveFile>
#include <QtEndian>

namespace artgen {

namespace {

constexpr int kFileHeaderSize = 14;
constexpr int kInfoHeaderSize = 40;
constexpr int kTableEntries = 256;
constexpr int kPixelOffset = kFileHeaderSize + kInfoHeaderSize + 4 * kTableEntries;

void put16(QByteArray& out, int offset, quint16 value) {
    qToLittleEndian(value, out.data() + offset);
}

void put32(QByteArray& out, int offset, quint32 value) {
    qToLittleEndian(value, out.data() + offset);
}

} // namespace

QByteArray BmpWriter::encode(const QImage& image) {
    if (image.format() != QImage::Format_Indexed8 || image.colorCount() != kTableEntries)
        return {};
    const int stride = (image.width() + 3) & ~3;
    const int size = kPixelOffset + stride * image.height();
    QByteArray out(size, '\0');

    out[0] = 'B';
    out[1] = 'M';
    put32(out, 2, quint32(size));
    put32(out, 10, kPixelOffset);

    put32(out, 14, kInfoHeaderSize);
    put32(out, 18, quint32(image.width()));
    put32(out, 22, quint32(image.height())); // positive: bottom-up rows
    put16(out, 26, 1);                       // planes
    put16(out, 28, 8);                       // bits per pixel
    put32(out, 30, 0);                       // BI_RGB
    put32(out, 34, quint32(stride * image.height()));
    put32(out, 38, 2835); // 72 dpi, as most painting programs write
    put32(out, 42, 2835);
    put32(out, 46, 0); // colours used: 0 means all 256
    put32(out, 50, 0);

    const QList<QRgb> table = image.colorTable();
    for (int i = 0; i < kTableEntries; ++i) {
        char* entry = out.data() + kFileHeaderSize + kInfoHeaderSize + 4 * i;
        entry[0] = char(qBlue(table[i]));
        entry[1] = char(qGreen(table[i]));
        entry[2] = char(qRed(table[i]));
        entry[3] = 0;
    }

    for (int y = 0; y < image.height(); ++y) {
        const int row = image.height() - 1 - y;
        std::copy_n(image.constScanLine(y), image.width(),
                    out.data() + kPixelOffset + row * stride);
    }
    return out;
}

bool BmpWriter::write(const QImage& image, const QString& path) {
    const QByteArray bytes = encode(image);
    if (bytes.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(bytes);
    return file.commit();
}

} // namespace artgen
