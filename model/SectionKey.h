#pragma once

#include <QByteArray>

#include <vector>

// A variation or kit named by its kind and number rather than by pointer, so that a list of
// them (a selection, a drag) stays meaningful while sections come and go.
struct SSectionKey {
    int nKind = 0;
    int nNumber = 0;
    bool operator==(const SSectionKey&) const = default;
};

namespace SectionKeys {

// The drag-and-drop format of a list of variations, within this program.
inline constexpr char kMimeType[] = "application/x-quenley-variations";

QByteArray Encode(const std::vector<SSectionKey>& keys);
// Lines that do not name a kind and a number in its range are left out.
std::vector<SSectionKey> Decode(const QByteArray& bytes);

} // namespace SectionKeys
