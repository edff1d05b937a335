#pragma once

#include "SectionKinds.h"

#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

class CQuenleyDoc;
class CSysExReader;

// What a received dump would do to a project: the variations its messages write, which of them
// the project holds already, and then putting them in. A value no message wrote keeps what the
// project's variation holds, or a new variation's default; a kit's name follows its first
// values. Nothing is sent to the module: the dump came from it.
class CDumpPlan {
public:
    struct SVariation {
        int nKind = 0;
        int nNumber = 0;
        bool bExists = false; // in the project when the plan was made
        // The values the dump writes, CSysExReader::kUnwritten where it writes none.
        std::array<std::int16_t, Kinds::kMaxParams> values{};
    };

    // Splits the reader's memory image into variations, in the store's order, and looks each
    // up in the document.
    void Make(const CSysExReader& reader, CQuenleyDoc& doc);

    const std::vector<SVariation>& Variations() const { return m_variations; }
    bool IsEmpty() const { return m_variations.empty(); }
    int ExistingCount() const;

    // Lines for the user: the variations the dump holds, by kind, then those it would
    // overwrite, then what was skipped. For the question before taking it and for quenley-cli.
    QStringList Describe(const CSysExReader& reader) const;
    // "2 messages for other devices, 1 truncated message"; empty when nothing was skipped.
    static QString SkippedText(const CSysExReader& reader);

    // Writes the variations into the document, making those it lacks, and tells its views.
    // Marks the document modified when anything changed. Returns the number of variations
    // changed or made; -1 when one could not be made for want of memory (the others are in).
    int Apply(CQuenleyDoc& doc) const;

private:
    std::vector<SVariation> m_variations;
};
