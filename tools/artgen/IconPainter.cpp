#include "IconPainter.h"

#include "ArtStyle.h"
#include "IconArt.h"

#include <QPainter>

#include <cstring>

namespace artgen {

namespace {

const icons::SInk* findInk(char cKey) {
    for (const icons::SInk& i : icons::kLegend)
        if (i.cKey == cKey)
            return &i;
    return nullptr;
}

// A character outside the legend shows as the ground; problems() names it.
QRgb ink(char cKey) {
    const icons::SInk* pInk = cKey == icons::kGround ? nullptr : findInk(cKey);
    return pInk ? pInk->rgb : style::kIconGround.rgb();
}

template <std::size_t N>
void checkArt(QStringList& problems, const QString& what, const std::array<const char*, N>& rows,
              int nWidth) {
    for (std::size_t y = 0; y < N; ++y) {
        if (int(std::strlen(rows[y])) != nWidth) {
            problems << QStringLiteral("%1: row %2 is not %3 pixels").arg(what).arg(y).arg(nWidth);
            continue;
        }
        for (int x = 0; x < nWidth; ++x)
            if (rows[y][x] != icons::kGround && !findInk(rows[y][x]))
                problems << QStringLiteral("%1: '%2' at %3,%4 has no colour")
                                .arg(what)
                                .arg(QLatin1Char(rows[y][x]))
                                .arg(x)
                                .arg(y);
    }
}

template <std::size_t N> QImage fromArt(const std::array<const char*, N>& rows, int nWidth) {
    QImage image(nWidth, int(N), QImage::Format_RGB32);
    for (int y = 0; y < int(N); ++y)
        for (int x = 0; x < nWidth; ++x)
            image.setPixel(x, y, ink(rows[std::size_t(y)][x]));
    return image;
}

QImage button(int nIndex) {
    return fromArt(icons::kToolbar[std::size_t(nIndex)], icons::kButtonWidth);
}

} // namespace

QStringList IconPainter::problems() {
    QStringList problems;
    for (int i = 0; i < icons::kToolbarButtons; ++i)
        checkArt(problems, QStringLiteral("button %1").arg(i), icons::kToolbar[std::size_t(i)],
                 icons::kButtonWidth);
    checkArt(problems, QStringLiteral("application icon"), icons::kAppIcon, icons::kAppIconSize);
    return problems;
}

QImage IconPainter::toolbarStrip() {
    QImage strip(icons::kButtonWidth * icons::kToolbarButtons, icons::kButtonHeight,
                 QImage::Format_RGB32);
    QPainter p(&strip);
    for (int i = 0; i < icons::kToolbarButtons; ++i)
        p.drawImage(i * icons::kButtonWidth, 0, button(i));
    return strip;
}

QImage IconPainter::viewIcons() {
    // View types 1..12 show the buttons Kit-Info, Kit, Kick, ... LFOs, which follow each other.
    constexpr int kFirstViewButton = 6;
    QImage strip(kViewIconSize * kViewTypes, kViewIconSize, QImage::Format_RGB32);
    strip.fill(style::kIconGround);
    QPainter p(&strip);
    for (int i = 0; i < kViewTypes; ++i) {
        // The 16 x 15 motif on a 16 x 16 square, the spare row below.
        QImage square(icons::kButtonWidth, icons::kButtonWidth, QImage::Format_RGB32);
        square.fill(style::kIconGround);
        QPainter(&square).drawImage(0, 0, button(kFirstViewButton + i));
        p.drawImage(i * kViewIconSize, 0, scale2x(square));
    }
    return strip;
}

QImage IconPainter::appIconSmall() {
    return fromArt(icons::kAppIcon, icons::kAppIconSize);
}

QImage IconPainter::appIcon() {
    return scale2x(appIconSmall());
}

QImage IconPainter::appIconPng(int nSize) {
    if (nSize <= 0 || nSize % icons::kAppIconSize != 0)
        return {};
    const QImage source = nSize % kViewIconSize == 0 ? appIcon() : appIconSmall();
    QImage image = source.convertToFormat(QImage::Format_ARGB32);
    const QRgb ground = style::kIconGround.rgb();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) == ground)
                image.setPixel(x, y, qRgba(0, 0, 0, 0));
    return image.scaled(nSize, nSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

QImage IconPainter::scale2x(const QImage& image) {
    const QImage in = image.convertToFormat(QImage::Format_RGB32);
    QImage out(in.width() * 2, in.height() * 2, QImage::Format_RGB32);
    const auto at = [&in](int x, int y, QRgb outside) {
        return x >= 0 && y >= 0 && x < in.width() && y < in.height() ? in.pixel(x, y) : outside;
    };
    for (int y = 0; y < in.height(); ++y)
        for (int x = 0; x < in.width(); ++x) {
            const QRgb p = in.pixel(x, y);
            const QRgb above = at(x, y - 1, p);
            const QRgb right = at(x + 1, y, p);
            const QRgb left = at(x - 1, y, p);
            const QRgb below = at(x, y + 1, p);
            out.setPixel(2 * x, 2 * y,
                         left == above && left != below && above != right ? above : p);
            out.setPixel(2 * x + 1, 2 * y,
                         above == right && above != left && right != below ? right : p);
            out.setPixel(2 * x, 2 * y + 1,
                         below == left && below != right && left != above ? left : p);
            out.setPixel(2 * x + 1, 2 * y + 1,
                         right == below && right != above && below != left ? below : p);
        }
    return out;
}

} // namespace artgen
