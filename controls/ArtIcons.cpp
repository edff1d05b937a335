#include "ArtIcons.h"

#include "PanelBitmaps.h"

#include <QHash>
#include <QPixmap>

using PanelBitmaps::EPicture;

namespace ArtIcons {

static_assert(static_cast<int>(EButton::CompareWithSaved) + 1 == PanelBitmaps::kToolbarButtons);

namespace {

// View types 1..12 show the buttons from Kit-Info to LFOs, which follow each other.
constexpr int kFirstViewType = 1;
constexpr int kLastViewType = PanelBitmaps::kViewIconCount;
constexpr int kFirstViewButton = static_cast<int>(EButton::KitInfo);
static_assert(static_cast<int>(EButton::Lfos) - kFirstViewButton + 1 ==
              PanelBitmaps::kViewIconCount);

QImage WithoutGround(const QImage& picture) {
    QImage image = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* pLine = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (pLine[x] == kGround)
                pLine[x] = qRgba(0, 0, 0, 0);
    }
    return image;
}

// Frame nIndex of a strip of equal frames; the pictures are made quietly, since a missing icon
// is no reason to trouble the user.
QImage Frame(EPicture ePicture, int nIndex, int nWidth, int nHeight) {
    // Every button comes from one strip: it is read once.
    static QHash<int, QImage> s_strips;
    auto it = s_strips.find(static_cast<int>(ePicture));
    if (it == s_strips.end())
        it = s_strips.insert(static_cast<int>(ePicture),
                             PanelBitmaps::CreateBitmap(ePicture, false));
    const QImage& strip = it.value();
    if (strip.isNull())
        return {};
    return WithoutGround(strip.copy(nIndex * nWidth, 0, nWidth, nHeight));
}

// The 16 x 15 button on a 16 x 16 square, for places that want square icons.
QImage Squared(const QImage& button) {
    if (button.isNull())
        return {};
    QImage square(PanelBitmaps::kToolbarButtonWidth, PanelBitmaps::kToolbarButtonWidth,
                  QImage::Format_ARGB32);
    square.fill(Qt::transparent);
    for (int y = 0; y < button.height(); ++y)
        for (int x = 0; x < button.width(); ++x)
            square.setPixel(x, y, button.pixel(x, y));
    return square;
}

void AddScaled(QIcon& icon, const QImage& picture) {
    if (picture.isNull())
        return;
    for (const int nScale : kScales) {
        QPixmap pixmap = QPixmap::fromImage(
            picture.scaled(picture.size() * nScale, Qt::IgnoreAspectRatio, Qt::FastTransformation));
        pixmap.setDevicePixelRatio(nScale);
        icon.addPixmap(pixmap);
    }
}

} // namespace

QImage ButtonPicture(EButton eButton) {
    return Frame(EPicture::Toolbar, static_cast<int>(eButton), PanelBitmaps::kToolbarButtonWidth,
                 PanelBitmaps::kToolbarButtonHeight);
}

QIcon ToolbarIcon(EButton eButton) {
    QIcon icon;
    AddScaled(icon, ButtonPicture(eButton));
    return icon;
}

QIcon ViewIcon(int nViewType) {
    if (nViewType < kFirstViewType || nViewType > kLastViewType)
        return AppIcon();
    const int nIndex = nViewType - kFirstViewType;
    QIcon icon;
    AddScaled(icon, Squared(ButtonPicture(static_cast<EButton>(kFirstViewButton + nIndex))));
    AddScaled(icon, Frame(EPicture::ViewIcons, nIndex, PanelBitmaps::kViewIconSize,
                          PanelBitmaps::kViewIconSize));
    return icon;
}

QIcon AppIcon() {
    QIcon icon;
    AddScaled(icon, Frame(EPicture::AppIconSmall, 0, PanelBitmaps::kAppIconSmallSize,
                          PanelBitmaps::kAppIconSmallSize));
    AddScaled(icon,
              Frame(EPicture::AppIcon, 0, PanelBitmaps::kAppIconSize, PanelBitmaps::kAppIconSize));
    return icon;
}

} // namespace ArtIcons
