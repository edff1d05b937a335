// quenley-artgen OUTDIR [--preview DIR]: paints every stored picture of the editor and writes
// them as 8-bit BMP files sharing one colour table. With --preview it also writes, as PNG, each
// panel with its control rectangles outlined and with the controls painted in, for checking the
// layout by eye.

#include "ArtStyle.h"
#include "BmpWriter.h"
#include "IconPainter.h"
#include "Palette.h"
#include "PanelPainter.h"
#include "PanelTables.h"
#include "SceneryPainter.h"
#include "StripPainter.h"

#include <QDir>
#include <QGuiApplication>
#include <QHash>
#include <QPainter>
#include <QTextStream>

#include <algorithm>
#include <cstdlib>

using namespace artgen;

namespace {

struct Picture {
    QString name;
    QImage image;
};

// Colours the table must hold exactly, and ramps between the colours the art is painted
// with, so flat areas and the common blends need no help from the median cut.
void seedPalette(Palette& palette) {
    using namespace artgen::style;
    for (const QColor& c : {kLcdBack, kFontBack, QColor(204, 204, 204), QColor(255, 255, 255),
                            kFontInk, kPlate, kStrip, kLabel, kAccent, kBezel})
        palette.addColor(c.rgb());
    palette.addRamp(qRgb(0, 0, 0), qRgb(252, 252, 252), 64); // greys 0, 4, ..., 252
    struct Ramp {
        QColor from;
        QColor to;
        int steps;
    };
    const Ramp ramps[] = {
        {kPlate, kLabel, 12},          {kStrip, kPlate, 5},     {kPlate, kPlateHighlight, 4},
        {kPlateShadow, kPlate, 4},     {kLcdBack, kLcdInk, 12}, {kLcdBack, kBezel, 5},
        {kPlate, kAccent, 8},          {kStrip, kAccent, 8},    {kStrip, kLabel, 8},
        {QColor(0, 0, 0), kLedOff, 5}, {kLedOff, kLedOn, 8},    {kLedOn, QColor(255, 226, 200), 5},
    };
    for (const Ramp& r : ramps)
        palette.addRamp(r.from.rgb(), r.to.rgb(), r.steps);
}

// The largest difference in any channel between the painted and the stored picture.
int largestError(const QImage& painted, const QImage& stored) {
    const QImage a = painted.convertToFormat(QImage::Format_RGB32);
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = stored.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q))});
        }
    return worst;
}

// Icon frames at nScale times their size, pixels as blocks, nPerRow to a row, once on a light and
// once on a dark ground, as toolbars of either kind of desktop would show them.
QImage iconSheet(const QImage& strip, int frameWidth, int nScale, int nPerRow) {
    constexpr int kGap = 4;
    const int frames = strip.width() / frameWidth;
    const int rows = (frames + nPerRow - 1) / nPerRow;
    const int cellW = frameWidth * nScale + kGap;
    const int cellH = strip.height() * nScale + kGap;
    QImage sheet(std::min(frames, nPerRow) * cellW + kGap, 2 * rows * cellH + kGap,
                 QImage::Format_RGB32);
    sheet.fill(QColor(128, 128, 128));
    const QColor grounds[] = {QColor(236, 236, 236), QColor(49, 54, 59)};
    QPainter p(&sheet);
    for (int g = 0; g < 2; ++g) {
        QImage shown = strip.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (shown.pixel(x, y) == style::kIconGround.rgb())
                    shown.setPixel(x, y, grounds[g].rgb());
        shown = shown.scaled(shown.size() * nScale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        for (int f = 0; f < frames; ++f)
            p.drawImage(kGap + (f % nPerRow) * cellW, kGap + (g * rows + f / nPerRow) * cellH,
                        shown, f * frameWidth * nScale, 0, frameWidth * nScale, shown.height());
    }
    return sheet;
}

} // namespace

int main(int argc, char** argv) {
    // Painting needs no display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTextStream err(stderr);

    QStringList args = app.arguments();
    args.removeFirst();
    QString previewDir;
    const qsizetype at = args.indexOf(QStringLiteral("--preview"));
    if (at >= 0 && at + 1 < args.size()) {
        previewDir = args.at(at + 1);
        args.remove(at, 2);
    }
    if (args.size() != 1) {
        err << "usage: quenley-artgen OUTDIR [--preview DIR]\n";
        return 1;
    }
    const QDir out(args.first());
    if (!out.exists() && !QDir().mkpath(out.path())) {
        err << "cannot create " << out.path() << "\n";
        return 1;
    }

    QList<Picture> pictures;
    int problems = 0;
    for (const Panels::SPanel& panel : Panels::AllPanels()) {
        PanelPainter painter(panel);
        const QImage image = painter.paint();
        for (const QString& problem : painter.problems()) {
            err << panel.pszName << ": " << problem << "\n";
            ++problems;
        }
        pictures.append({QString::fromLatin1(panel.pszName), image});
    }
    pictures.append({QStringLiteral("background"), SceneryPainter::background()});
    pictures.append({QStringLiteral("about"), SceneryPainter::about()});
    pictures.append({QStringLiteral("led"), StripPainter::ledStrip()});
    pictures.append({QStringLiteral("lcdfont"), StripPainter::fontStrip()});
    pictures.append({QStringLiteral("knob"), StripPainter::knobStrip()});
    pictures.append({QStringLiteral("fader"), StripPainter::faderStrip()});

    Palette palette;
    seedPalette(palette);
    QList<QImage> images;
    for (const Picture& picture : pictures)
        images.append(picture.image);
    palette.fillFrom(images);

    // The icons are drawn in colours of the table, so they take no part in making it and adding
    // one changes no other picture.
    const qsizetype nFirstIcon = pictures.size();
    pictures.append({QStringLiteral("toolbar"), IconPainter::toolbarStrip()});
    pictures.append({QStringLiteral("viewicons"), IconPainter::viewIcons()});
    pictures.append({QStringLiteral("appicon"), IconPainter::appIcon()});
    pictures.append({QStringLiteral("appicon16"), IconPainter::appIconSmall()});
    for (const QString& problem : IconPainter::problems()) {
        err << problem << "\n";
        ++problems;
    }

    QHash<QString, QImage> stored;
    for (qsizetype i = 0; i < pictures.size(); ++i) {
        const Picture& picture = pictures.at(i);
        const QString path = out.filePath(picture.name + QStringLiteral(".bmp"));
        const QImage indexed = palette.quantise(picture.image);
        if (!BmpWriter::write(indexed, path)) {
            err << "cannot write " << path << "\n";
            return 1;
        }
        stored.insert(picture.name, indexed.convertToFormat(QImage::Format_RGB32));
        const int nError = largestError(picture.image, stored[picture.name]);
        if (!previewDir.isEmpty())
            err << picture.name << ": largest colour error " << nError << "\n";
        if (nError != 0 && i >= nFirstIcon) {
            err << picture.name << ": a colour outside the table\n";
            ++problems;
        }
    }

    // The application icon for desktops that take PNG files, in the sizes they ask for most.
    const QDir icons(out.filePath(QStringLiteral("icons")));
    if (!QDir().mkpath(icons.path())) {
        err << "cannot create " << icons.path() << "\n";
        return 1;
    }
    for (const int nSize : {48, 64, 128, 256}) {
        const QString path = icons.filePath(QStringLiteral("%1.png").arg(nSize));
        if (!IconPainter::appIconPng(nSize).save(path, "PNG")) {
            err << "cannot write " << path << "\n";
            return 1;
        }
    }

    if (!previewDir.isEmpty()) {
        const QDir dir(previewDir);
        QDir().mkpath(dir.path());
        for (const Panels::SPanel& panel : Panels::AllPanels()) {
            const QString name = QString::fromLatin1(panel.pszName);
            const PanelPainter painter(panel);
            painter.overlay(stored[name]).save(dir.filePath(name + QStringLiteral("-rects.png")));
            painter
                .preview(stored[name], stored[QStringLiteral("knob")],
                         stored[QStringLiteral("led")], stored[QStringLiteral("fader")],
                         stored[QStringLiteral("lcdfont")])
                .save(dir.filePath(name + QStringLiteral("-preview.png")));
        }
        constexpr int kIconScale = 4;
        iconSheet(stored[QStringLiteral("toolbar")], 16, kIconScale, 13)
            .save(dir.filePath(QStringLiteral("toolbar-4x.png")));
        iconSheet(stored[QStringLiteral("viewicons")], 32, kIconScale, 6)
            .save(dir.filePath(QStringLiteral("viewicons-4x.png")));
        iconSheet(stored[QStringLiteral("appicon")], 32, kIconScale, 1)
            .save(dir.filePath(QStringLiteral("appicon-4x.png")));
        iconSheet(stored[QStringLiteral("appicon16")], 16, kIconScale, 1)
            .save(dir.filePath(QStringLiteral("appicon16-4x.png")));
    }
    // The pictures are written either way so that a fault can be looked at.
    return problems == 0 ? 0 : 2;
}
