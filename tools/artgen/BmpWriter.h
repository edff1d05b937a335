#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

namespace artgen {

// Writes 8-bit pictures in the one BMP layout the program stores: file header with pixel
// offset 1078, 40-byte information header, 256-entry colour table, bottom-up rows padded to
// four bytes, no compression.
class BmpWriter {
public:
    // `image` must be Format_Indexed8 with a 256-entry colour table; otherwise empty.
    static QByteArray encode(const QImage& image);
    static bool write(const QImage& image, const QString& path);
};

} // namespace artgen
