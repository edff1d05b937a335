#include "CDumpPlan.h"

#include "CQuenleyDoc.h"
#include "CSysExReader.h"
#include "RuntimeClasses.h"

#include <QCoreApplication>

#include <cstring>
#include <memory>

namespace {

// More ranges than this on one line are summed up; a whole dump still fits a message box.
constexpr int kMaxRanges = 12;

QString Tr(const char* pszText) {
    return QCoreApplication::translate("CDumpPlan", pszText);
}

QString Counted(int n, const char* pszOne, const char* pszMany) {
    return (n == 1 ? Tr(pszOne) : Tr(pszMany)).arg(n);
}

QString Number(int n) {
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

// "000-003, 007, 010-255" for ascending numbers.
QString Ranges(const std::vector<int>& numbers) {
    QStringList ranges;
    int nMore = 0;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t j = i;
        while (j + 1 < numbers.size() && numbers[j + 1] == numbers[j] + 1)
            ++j;
        if (ranges.size() < kMaxRanges)
            ranges << (i == j ? Number(numbers[i])
                              : Number(numbers[i]) + QLatin1Char('-') + Number(numbers[j]));
        else
            nMore += int(j - i + 1);
        i = j + 1;
    }
    if (nMore > 0)
        ranges << Tr("and %1 more").arg(nMore);
    return ranges.join(QStringLiteral(", "));
}

// One line per kind (per bank for kits) of the variations that pass the filter.
template <class Filter>
QStringList KindLines(const std::vector<CDumpPlan::SVariation>& variations, Filter filter) {
    QStringList lines;
    std::vector<int> numbers;
    int nKind = 0;
    int nBank = -1;
    auto flush = [&] {
        if (numbers.empty())
            return;
        const QString strKind =
            nKind == Kinds::kKit ? Tr("Kit Bank%1").arg(Number(nBank)) : Tr(Kinds::KindName(nKind));
        lines << QStringLiteral("  %1: %2").arg(strKind, Ranges(numbers));
        numbers.clear();
    };
    for (const CDumpPlan::SVariation& v : variations) {
        if (!filter(v))
            continue;
        const int nThisBank = v.nKind == Kinds::kKit ? v.nNumber / Kinds::kKitsPerBank : -1;
        if (v.nKind != nKind || nThisBank != nBank)
            flush();
        nKind = v.nKind;
        nBank = nThisBank;
        numbers.push_back(v.nKind == Kinds::kKit ? v.nNumber % Kinds::kKitsPerBank : v.nNumber);
    }
    flush();
    return lines;
}

} // namespace

void CDumpPlan::Make(const CSysExReader& reader, CQuenleyDoc& doc) {
    m_variations.clear();
    for (int nKind = Kinds::kLastKind; nKind >= Kinds::kFirstKind; --nKind) {
        const Kinds::SKindInfo& info = Kinds::Info(nKind);
        for (int nNumber = 0; nNumber < info.nVariations; ++nNumber) {
            SVariation v;
            v.values.fill(CSysExReader::kUnwritten);
            bool bWritten = false;
            for (int i = 0; i < info.nParams; ++i) {
                const int nValue =
                    reader.Value(info.nArea, info.nBaseAddress + nNumber * info.nParams + i);
                v.values[static_cast<std::size_t>(i)] = static_cast<std::int16_t>(nValue);
                bWritten = bWritten || nValue != CSysExReader::kUnwritten;
            }
            if (!bWritten)
                continue;
            v.nKind = nKind;
            v.nNumber = nNumber;
            v.bExists = doc.FindVariationOfKind(nKind, nNumber) != nullptr;
            m_variations.push_back(v);
        }
    }
}

int CDumpPlan::ExistingCount() const {
    return int(std::count_if(m_variations.begin(), m_variations.end(),
                             [](const SVariation& v) { return v.bExists; }));
}

QString CDumpPlan::SkippedText(const CSysExReader& reader) {
    struct SName {
        CSysExReader::ESkip eSkip;
        const char* pszOne;
        const char* pszMany;
    };
    static constexpr SName kNames[] = {
        {CSysExReader::kOtherDevice, "%1 message for another device",
         "%1 messages for other devices"},
        {CSysExReader::kOtherArea, "%1 message for another part of the module",
         "%1 messages for other parts of the module"},
        {CSysExReader::kOtherMessage, "%1 other MIDI message", "%1 other MIDI messages"},
        {CSysExReader::kRunningStatus, "%1 message in running status",
         "%1 messages in running status"},
        {CSysExReader::kStrayByte, "%1 stray byte", "%1 stray bytes"},
        {CSysExReader::kTruncated, "%1 truncated message", "%1 truncated messages"},
        {CSysExReader::kDamaged, "%1 damaged message", "%1 damaged messages"},
        {CSysExReader::kBeyondMemory, "%1 value beyond the module's memory",
         "%1 values beyond the module's memory"},
    };
    QStringList parts;
    for (const SName& name : kNames)
        if (const int n = reader.Skipped(name.eSkip); n > 0)
            parts << Counted(n, name.pszOne, name.pszMany);
    return parts.join(QStringLiteral(", "));
}

QStringList CDumpPlan::Describe(const CSysExReader& reader) const {
    QStringList lines;
    if (m_variations.empty()) {
        lines << Tr("The dump holds no sounds for the module.");
    } else {
        lines << Counted(int(m_variations.size()),
                         "The dump holds %1 variation:", "The dump holds %1 variations:");
        lines << KindLines(m_variations, [](const SVariation&) { return true; });
        if (const int nExisting = ExistingCount(); nExisting > 0) {
            lines << Counted(nExisting, "It overwrites %1 variation of the project:",
                             "It overwrites %1 variations of the project:");
            lines << KindLines(m_variations, [](const SVariation& v) { return v.bExists; });
        }
    }
    // The module answers on one channel; more than one means the file mixes dumps.
    QStringList channels;
    for (int n = 0; n < 16; ++n)
        if (reader.Channels() & (1u << n))
            channels << QString::number(n + 1);
    if (channels.size() > 1)
        lines << Tr("Its messages are on MIDI channels %1; all of them are read.")
                     .arg(channels.join(QStringLiteral(", ")));
    if (const QString strSkipped = SkippedText(reader); !strSkipped.isEmpty())
        lines << Tr("Skipped: %1.").arg(strSkipped);
    return lines;
}

int CDumpPlan::Apply(CQuenleyDoc& doc) const {
    std::array<std::unique_ptr<CSection>, Kinds::kLastKind + 1> templates;
    std::array<bool, Kinds::kLastKind + 1> listChanged{};
    std::vector<CSection*> changed;
    bool bFailed = false;
    for (const SVariation& v : m_variations) {
        const auto nKind = static_cast<std::size_t>(v.nKind);
        CSection* p = doc.FindVariationOfKind(v.nKind, v.nNumber);
        const bool bNew = !p;
        if (bNew) {
            if (!templates[nKind])
                templates[nKind].reset(NewSectionOfKind(v.nKind));
            p = doc.FindOrCreateVariation(templates[nKind].get(), v.nNumber);
        }
        if (!p || !p->GetName()) {
            bFailed = true;
            continue;
        }
        const int nParams = p->GetParamCount();
        const int nNameLen = p->GetNameLength();
        std::array<std::int32_t, Kinds::kMaxParams> values{};
        std::array<char, sizeof Kinds::kDefaultName> name{};
        std::memcpy(name.data(), p->GetName(), static_cast<std::size_t>(nNameLen));
        bool bChanged = bNew;
        for (int i = 0; i < nParams; ++i) {
            const int nWritten = v.values[static_cast<std::size_t>(i)];
            const int nValue = nWritten == CSysExReader::kUnwritten ? p->GetParam(i) : nWritten;
            values[static_cast<std::size_t>(i)] = nValue;
            bChanged = bChanged || nValue != p->GetParam(i);
            // A kit's name lives in its first values; the module has no other copy of it.
            if (i < p->Info().nNameParams && nWritten != CSysExReader::kUnwritten) {
                bChanged = bChanged || name[static_cast<std::size_t>(i)] != char(nWritten);
                name[static_cast<std::size_t>(i)] = char(nWritten);
            }
        }
        if (!bChanged)
            continue;
        p->SetStoredFields(p->IsActive(), p->GetNumber(), name.data(), values.data());
        changed.push_back(p);
        listChanged[nKind] = listChanged[nKind] || bNew;
    }
    for (int nKind = Kinds::kFirstKind; nKind <= Kinds::kLastKind; ++nKind)
        if (listChanged[static_cast<std::size_t>(nKind)])
            doc.SectionListChanged(nKind);
    for (CSection* p : changed)
        doc.UpdateAllViews(nullptr, 0, p);
    if (!changed.empty())
        doc.SetModifiedFlag(true);
    return bFailed ? -1 : int(changed.size());
}
