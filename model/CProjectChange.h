#pragma once

#include "SectionKinds.h"

#include <QString>

#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <optional>
#include <vector>

class CSection;

// What one edit did to the project, so that it can be taken back and done again: for every
// section it touched, the section as it was before and after (none where it did not exist),
// and whether the edit sent the module the section's whole block, or anything at all.
class CProjectChange {
public:
    struct SState {
        bool bActive = false;
        std::array<char, 17> name{};
        std::array<std::int32_t, Kinds::kMaxParams> values{};
        bool operator==(const SState&) const = default;
    };
    struct SEntry {
        int nKind = 0;
        std::int32_t nNumber = 0;
        std::optional<SState> before;
        std::optional<SState> after;
        bool bBlockSent = false;
        bool bSent = false; // anything at all
    };

    // Every section of a project as it is at one moment, in store order.
    class CSnapshot {
    public:
        void Take(const std::list<std::unique_ptr<CSection>>& sections);
        bool IsEmpty() const { return m_items.empty(); }

    private:
        friend class CProjectChange;
        struct SItem {
            int nKind;
            std::int32_t nNumber;
            std::uint32_t nBlocksSent;
            std::uint32_t nMessagesSent;
            SState state;
        };
        std::vector<SItem> m_items;
    };

    static SState StateOf(const CSection& section);
    // What became of the project since the snapshot.
    static CProjectChange Since(const CSnapshot& before,
                                const std::list<std::unique_ptr<CSection>>& now);

    bool IsEmpty() const { return m_entries.empty(); }
    const std::vector<SEntry>& Entries() const { return m_entries; }
    // The change as if this one and pLater had been one edit; sections that end as they began
    // drop out.
    void Append(const CProjectChange& later);
    // "Kick 007", "Kit 044 Bank 002": the first touched section of the kind, or the first one.
    QString SubjectTitle(int nPreferKind) const;
    // How the history and the status bar name a variation: "Kick 007", "Kit 044 Bank 002".
    static QString Title(int nKind, int nNumber);

private:
    std::vector<SEntry> m_entries; // in store order
};
