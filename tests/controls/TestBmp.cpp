#include "TestBmp.h"

#include <QtEndian>

namespace TestBmp {

namespace {

void Put16(QByteArray& a, quint16 v) {
    char b[2];
    qToLittleEndian(v, b);
    a.append(b, 2);
}

void Put32(QByteArray& a, quint32 v) {
    char b[4];
    qToLittleEndian(v, b);
    a.append(b, 4);
}

bool Paletted(int nBits) {
    return nBits <= 8;
}

} // namespace

QRgb PaletteColor(int k) {
    return qRgb(k, (k * 7 + 31) & 255, 255 - k);
}

QByteArray Make(const SLayout& layout) {
    const int nRows = qAbs(layout.nHeight);
    const int nStride = (layout.nWidth * layout.nBits + 31) / 32 * 4;
    const int nTable = Paletted(layout.nBits) ? layout.nColors : 0;

    QByteArray a;
    a.append("BM");
    Put32(a, quint32(14 + 40 + 4 * nTable + nStride * nRows));
    Put16(a, 0);
    Put16(a, 0);
    Put32(a, 1078); // as the stored pictures say; never read
    Put32(a, layout.nHeaderSize);
    Put32(a, quint32(layout.nWidth));
    Put32(a, quint32(layout.nHeight));
    Put16(a, 1);
    Put16(a, quint16(layout.nBits));
    Put32(a, layout.nCompression);
    Put32(a, quint32(nStride * nRows));
    Put32(a, 2835);
    Put32(a, 2835);
    Put32(a, layout.nColorsUsed);
    Put32(a, 0);
    for (int k = 0; k < nTable; ++k) {
        const QRgb c = PaletteColor(k);
        a.append(char(qBlue(c)));
        a.append(char(qGreen(c)));
        a.append(char(qRed(c)));
        a.append('\0');
    }
    for (int nRow = 0; nRow < nRows; ++nRow) {
        const int y = layout.nHeight > 0 ? nRows - 1 - nRow : nRow;
        QByteArray row(nStride, '\0');
        for (int x = 0; x < layout.nWidth; ++x) {
            const quint32 v = layout.pixel(x, y);
            switch (layout.nBits) {
            case 1:
                row[x / 8] = char(row[x / 8] | (v & 1) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] = char(row[x / 2] | (v & 15) << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[x] = char(v);
                break;
            case 16:
                row[x * 2] = char(v);
                row[x * 2 + 1] = char(v >> 8);
                break;
            default:
                row[x * layout.nBits / 8] = char(qBlue(v));
                row[x * layout.nBits / 8 + 1] = char(qGreen(v));
                row[x * layout.nBits / 8 + 2] = char(qRed(v));
            }
        }
        a.append(row);
    }
    return a;
}

QImage Expected(const SLayout& layout) {
    QImage image(layout.nWidth, qAbs(layout.nHeight), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const quint32 v = layout.pixel(x, y);
            image.setPixel(x, y,
                           Paletted(layout.nBits) ? PaletteColor(int(v)) : QRgb(v | 0xff000000u));
        }
    }
    return image;
}

QByteArray Strip(int nWidth, int nHeight, const std::function<int(int x, int y)>& index) {
    SLayout layout;
    layout.nWidth = nWidth;
    layout.nHeight = nHeight;
    layout.pixel = [index](int x, int y) { return quint32(index(x, y)); };
    return Make(layout);
}

} // namespace TestBmp
