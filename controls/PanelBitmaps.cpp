#include "PanelBitmaps.h"

#include "PanelTables.h"
#include "QuenleyMessage.h"

#include <QResource>
#include <QtDebug>

#include <array>
#include <climits>

namespace PanelBitmaps {

namespace {

constexpr qsizetype kFileHeaderSize = 14;
constexpr qsizetype kInfoHeaderSize = 40;
constexpr quint32 kBiRgb = 0;
constexpr quint32 kBiBitfields = 3;

// Larger pictures are refused as if the system had run out of bitmap memory; the biggest stored
// picture has under 200,000 pixels.
qint64 s_nMaxPixels = qint64(1) << 26;

quint16 U16(const uchar* p) {
    return quint16(p[0] | p[1] << 8);
}
quint32 U32(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}
qint32 S32(const uchar* p) {
    return static_cast<qint32>(U32(p));
}

constexpr std::size_t kPictureCount = static_cast<std::size_t>(EPicture::AppIconSmall) + 1;

SPicture PanelPicture(EPicture ePicture, Panels::EPanel ePanel) {
    const Panels::SPanel& panel = Panels::Panel(ePanel);
    return {ePicture, panel.pszName, panel.nWidth, panel.nHeight};
}

const std::array<SPicture, kPictureCount>& Pictures() {
    using Panels::EPanel;
    static const std::array<SPicture, kPictureCount> pictures{{
        PanelPicture(EPicture::Kick, EPanel::Kick),
        PanelPicture(EPicture::Snare, EPanel::Snare),
        PanelPicture(EPicture::Tom, EPanel::Tom),
        PanelPicture(EPicture::Lfo, EPanel::Lfo),
        PanelPicture(EPicture::HiHat, EPanel::HiHat),
        PanelPicture(EPicture::Sample, EPanel::Sample),
        PanelPicture(EPicture::Kit, EPanel::Kit),
        PanelPicture(EPicture::Quick, EPanel::Quick),
        {EPicture::Background, "background", 300, 300},
        {EPicture::About, "about", 407, 270},
        {EPicture::Led, "led", 26, 13},
        {EPicture::LcdFont, "lcdfont", 480, 9},
        {EPicture::Knob, "knob", 1159, 19},
        {EPicture::Fader, "fader", 20, 329},
        {EPicture::Toolbar, "toolbar", kToolbarButtons * kToolbarButtonWidth, kToolbarButtonHeight},
        {EPicture::ViewIcons, "viewicons", kViewIconCount * kViewIconSize, kViewIconSize},
        {EPicture::AppIcon, "appicon", kAppIconSize, kAppIconSize},
        {EPicture::AppIconSmall, "appicon16", kAppIconSmallSize, kAppIconSmallSize},
    }};
    return pictures;
}

QImage Refuse(const char* pszWhy) {
    qWarning("CreateBitmapFromBmp: %s", pszWhy);
    return {};
}

} // namespace

QImage CreateBitmapFromBmp(const uchar* pBmp, qsizetype nSize, bool bTellUser) {
    if (!pBmp || nSize < 2 || pBmp[0] != 'B' || pBmp[1] != 'M')
        return {};
    if (nSize < kFileHeaderSize + kInfoHeaderSize)
        return Refuse("truncated header");

    const uchar* pInfo = pBmp + kFileHeaderSize;
    const quint32 nHeaderSize = U32(pInfo);
    const qint32 nWidth = S32(pInfo + 4);
    const qint32 nHeight = S32(pInfo + 8);
    const quint16 nPlanes = U16(pInfo + 12);
    const quint16 nBits = U16(pInfo + 14);
    const quint32 nCompression = U32(pInfo + 16);
    const quint32 nColorsUsed = U32(pInfo + 32);

    // The pixel start below assumes the 40-byte header, as every stored picture has.
    if (nHeaderSize != kInfoHeaderSize || nPlanes != 1)
        return Refuse("unsupported header");
    const bool bPaletted = nBits == 1 || nBits == 4 || nBits == 8;
    if (!(bPaletted || nBits == 24 || nBits == 32) || nCompression != kBiRgb)
        return Refuse("unsupported pixel format");
    if (nWidth <= 0 || nHeight == 0 || nHeight == INT_MIN)
        return Refuse("bad dimensions");

    const qint64 nColors = nColorsUsed != 0 ? qint64(nColorsUsed) : bPaletted ? 1 << nBits : 0;
    // Where the pixels start is computed from the header; the file header's offset is not used.
    qint64 nPixelStart = kFileHeaderSize + kInfoHeaderSize;
    if (bPaletted)
        nPixelStart += 4 * nColors;
    else
        nPixelStart += 4 * qint64(nColorsUsed) + (nCompression == kBiBitfields ? 12 : 0);

    const bool bBottomUp = nHeight > 0;
    const qint64 nRows = bBottomUp ? nHeight : -qint64(nHeight);
    const qint64 nStride = (qint64(nWidth) * nBits + 31) / 32 * 4;
    if (nPixelStart + nStride * nRows > nSize)
        return Refuse("truncated pixels");

    QImage image;
    if (qint64(nWidth) * nRows <= s_nMaxPixels)
        image = QImage(nWidth, static_cast<int>(nRows), QImage::Format_RGB32);
    if (image.isNull()) {
        if (bTellUser)
            QuenleyMessage::Show(QString::fromLatin1(kNoMemoryText));
        return {};
    }

    // Indices beyond a short colour table show black rather than whatever follows the table.
    QRgb palette[256] = {};
    if (bPaletted) {
        const uchar* pTable = pInfo + kInfoHeaderSize;
        for (qint64 i = 0; i < qMin<qint64>(nColors, 256); ++i)
            palette[i] = qRgb(pTable[4 * i + 2], pTable[4 * i + 1], pTable[4 * i]);
    }

    const uchar* pPixels = pBmp + nPixelStart;
    for (qint64 nRow = 0; nRow < nRows; ++nRow) {
        const uchar* pSrc = pPixels + nRow * nStride;
        const int y = static_cast<int>(bBottomUp ? nRows - 1 - nRow : nRow);
        auto* pDst = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < nWidth; ++x) {
            switch (nBits) {
            case 1:
                pDst[x] = palette[(pSrc[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                pDst[x] = palette[(pSrc[x / 2] >> (x % 2 ? 0 : 4)) & 15];
                break;
            case 8:
                pDst[x] = palette[pSrc[x]];
                break;
            default: {
                const uchar* p = pSrc + x * (nBits / 8);
                pDst[x] = qRgb(p[2], p[1], p[0]);
            }
            }
        }
    }
    return image;
}

QImage CreateBitmapFromBmp(const QByteArray& bmp, bool bTellUser) {
    return CreateBitmapFromBmp(reinterpret_cast<const uchar*>(bmp.constData()), bmp.size(),
                               bTellUser);
}

std::span<const SPicture> AllPictures() {
    return Pictures();
}

const SPicture& Picture(EPicture ePicture) {
    const auto i = static_cast<std::size_t>(ePicture);
    return Pictures()[i < kPictureCount ? i : 0];
}

QByteArray StoredBmp(EPicture ePicture) {
    const QResource resource(
        QStringLiteral(":/art/%1.bmp").arg(QLatin1String(Picture(ePicture).pszName)));
    if (!resource.isValid())
        return {};
    return resource.uncompressedData();
}

QImage CreateBitmap(EPicture ePicture, bool bTellUser) {
    return CreateBitmapFromBmp(StoredBmp(ePicture), bTellUser);
}

qint64 SetPixelLimit(qint64 nPixels) {
    const qint64 nPrevious = s_nMaxPixels;
    s_nMaxPixels = nPixels;
    return nPrevious;
}

} // namespace PanelBitmaps
