#include "Palette.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace artgen {

namespace {

// Colours this close to an existing entry (weighted squared distance) need no entry of their
// own; roughly one or two levels per channel.
constexpr int kCloseEnough = 24;

struct Weighted {
    QRgb color;
    long long count;
};

int channel(QRgb c, int k) {
    return k == 0 ? qRed(c) : k == 1 ? qGreen(c) : qBlue(c);
}

// One box of the median cut: a run of colours and the channel it spreads most along.
struct Box {
    std::vector<Weighted> colors;
    long long total = 0;
    int longest = 0;
    int range = 0;

    void measure() {
        total = 0;
        std::array<int, 3> lo{255, 255, 255};
        std::array<int, 3> hi{0, 0, 0};
        for (const Weighted& w : colors) {
            total += w.count;
            for (int k = 0; k < 3; ++k) {
                lo[k] = std::min(lo[k], channel(w.color, k));
                hi[k] = std::max(hi[k], channel(w.color, k));
            }
        }
        range = -1;
        for (int k = 0; k < 3; ++k) {
            if (hi[k] - lo[k] > range) {
                range = hi[k] - lo[k];
                longest = k;
            }
        }
    }

    QRgb mean() const {
        std::array<long long, 3> sum{0, 0, 0};
        for (const Weighted& w : colors)
            for (int k = 0; k < 3; ++k)
                sum[k] += channel(w.color, k) * w.count;
        return qRgb(int((sum[0] + total / 2) / total), int((sum[1] + total / 2) / total),
                    int((sum[2] + total / 2) / total));
    }
};

} // namespace

void Palette::addColor(QRgb color) {
    color = qRgb(qRed(color), qGreen(color), qBlue(color));
    if (m_colors.size() < kSize && !m_colors.contains(color))
        m_colors.append(color);
    m_cache.clear();
}

void Palette::addRamp(QRgb from, QRgb to, int steps) {
    for (int i = 0; i < steps; ++i) {
        const auto mix = [&](int a, int b) {
            return (a * (steps - 1 - i) + b * i + (steps - 1) / 2) / (steps - 1);
        };
        addColor(qRgb(mix(qRed(from), qRed(to)), mix(qGreen(from), qGreen(to)),
                      mix(qBlue(from), qBlue(to))));
    }
}

void Palette::fillFrom(const QList<QImage>& images) {
    // std::map keeps the order fixed, so the same pictures always give the same table.
    std::map<QRgb, long long> histogram;
    for (const QImage& image : images) {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < rgb.height(); ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < rgb.width(); ++x)
                ++histogram[line[x] | 0xff000000u];
        }
    }

    std::vector<Box> boxes(1);
    for (const auto& [color, count] : histogram)
        if (distance(color, m_colors.at(searchNearest(color))) > kCloseEnough)
            boxes[0].colors.push_back({color, count});

    const int wanted = kSize - int(m_colors.size());
    if (!boxes[0].colors.empty() && wanted > 0) {
        boxes[0].measure();
        while (int(boxes.size()) < wanted) {
            // Split the box that spans most colour space per pixel it carries.
            auto best = boxes.end();
            double bestScore = 0;
            for (auto it = boxes.begin(); it != boxes.end(); ++it) {
                const double score = double(it->range) * double(it->total);
                if (it->colors.size() > 1 && it->range > 0 && score > bestScore) {
                    bestScore = score;
                    best = it;
                }
            }
            if (best == boxes.end())
                break;
            const int k = best->longest;
            std::sort(best->colors.begin(), best->colors.end(),
                      [k](const Weighted& a, const Weighted& b) {
                          return channel(a.color, k) != channel(b.color, k)
                                     ? channel(a.color, k) < channel(b.color, k)
                                     : a.color < b.color;
                      });
            long long half = 0;
            std::size_t cut = 1;
            for (; cut < best->colors.size() - 1; ++cut) {
                half += best->colors[cut - 1].count;
                if (half * 2 >= best->total)
                    break;
            }
            Box upper;
            upper.colors.assign(best->colors.begin() + long(cut), best->colors.end());
            best->colors.resize(cut);
            best->measure();
            upper.measure();
            boxes.push_back(std::move(upper));
        }
        for (const Box& box : boxes)
            addColor(box.mean());
    }
    // Means of different boxes can coincide with each other or with a seed colour.
    while (m_colors.size() < kSize)
        m_colors.append(qRgb(0, 0, 0));
    m_cache.clear();
}

int Palette::distance(QRgb a, QRgb b) {
    // Green counts most and blue least, roughly as the eye weighs them.
    const int dr = qRed(a) - qRed(b);
    const int dg = qGreen(a) - qGreen(b);
    const int db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

int Palette::searchNearest(QRgb color) const {
    int best = 0;
    int bestDistance = distance(color, m_colors.value(0));
    for (int i = 1; i < m_colors.size() && bestDistance > 0; ++i) {
        const int d = distance(color, m_colors.at(i));
        if (d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

int Palette::nearest(QRgb color) const {
    color |= 0xff000000u;
    const auto it = m_cache.constFind(color);
    if (it != m_cache.constEnd())
        return it.value();
    const int index = searchNearest(color);
    m_cache.insert(color, index);
    return index;
}

QImage Palette::quantise(const QImage& image) const {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    QImage out(rgb.size(), QImage::Format_Indexed8);
    out.setColorTable(m_colors);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        uchar* line = out.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x)
            line[x] = uchar(nearest(in[x]));
    }
    return out;
}

} // namespace artgen
