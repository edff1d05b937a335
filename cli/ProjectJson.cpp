#include "ProjectJson.h"

#include "CArchive.h"
#include "CQuenleyDoc.h"
#include "CliArgs.h"
#include "ProjectFile.h"
#include "RuntimeClasses.h"

#include <QJsonArray>
#include <QJsonObject>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

namespace ProjectJson {

namespace {

constexpr qint64 kI32Min = std::numeric_limits<std::int32_t>::min();
constexpr qint64 kI32Max = std::numeric_limits<std::int32_t>::max();
constexpr qint64 kU32Max = std::numeric_limits<std::uint32_t>::max();

QJsonArray IntArray(std::initializer_list<qint64> values) {
    QJsonArray array;
    for (qint64 n : values)
        array.append(n);
    return array;
}

// Reads one JSON object and remembers where it is, so that every message can name the field.
class CFieldReader {
public:
    CFieldReader(const QJsonObject& obj, QString strPath, QString& strError)
        : m_obj(obj), m_strPath(std::move(strPath)), m_strError(strError) {}

    QString PathOf(const char* pszKey) const {
        return m_strPath.isEmpty() ? QString::fromLatin1(pszKey)
                                   : m_strPath + QLatin1Char('.') + QLatin1String(pszKey);
    }

    bool Fail(const QString& strPath, const QString& strWhat) {
        m_strError = strPath + QStringLiteral(": ") + strWhat;
        return false;
    }

    // Refuses keys the format does not have: a misspelt one would otherwise be lost silently.
    bool OnlyKeys(std::initializer_list<const char*> keys) {
        for (const QString& strKey : m_obj.keys()) {
            bool bKnown = false;
            for (const char* pszKey : keys)
                bKnown = bKnown || strKey == QLatin1String(pszKey);
            if (!bKnown)
                return Fail(m_strPath.isEmpty() ? strKey : m_strPath + QLatin1Char('.') + strKey,
                            QStringLiteral("unknown field"));
        }
        return true;
    }

    bool Value(const char* pszKey, QJsonValue& value) {
        value = m_obj.value(QLatin1String(pszKey));
        if (value.isUndefined())
            return Fail(PathOf(pszKey), QStringLiteral("missing"));
        return true;
    }

    bool Array(const char* pszKey, QJsonArray& array, qsizetype nSize = -1) {
        QJsonValue value;
        if (!Value(pszKey, value))
            return false;
        if (!value.isArray())
            return Fail(PathOf(pszKey), QStringLiteral("expected an array"));
        array = value.toArray();
        if (nSize >= 0 && array.size() != nSize)
            return Fail(
                PathOf(pszKey),
                QStringLiteral("expected %1 values, found %2").arg(nSize).arg(array.size()));
        return true;
    }

    bool Object(const char* pszKey, QJsonObject& obj) {
        QJsonValue value;
        if (!Value(pszKey, value))
            return false;
        if (!value.isObject())
            return Fail(PathOf(pszKey), QStringLiteral("expected an object"));
        obj = value.toObject();
        return true;
    }

    bool Int(const char* pszKey, qint64 nMin, qint64 nMax, qint64& n) {
        QJsonValue value;
        return Value(pszKey, value) && IntValue(value, PathOf(pszKey), nMin, nMax, n);
    }

    bool IntValue(const QJsonValue& value, const QString& strPath, qint64 nMin, qint64 nMax,
                  qint64& n) {
        const double d = value.toDouble();
        if (!value.isDouble() || std::floor(d) != d || d < static_cast<double>(nMin) ||
            d > static_cast<double>(nMax))
            return Fail(strPath,
                        QStringLiteral("expected an integer from %1 to %2").arg(nMin).arg(nMax));
        n = static_cast<qint64>(d);
        return true;
    }

    // Integers of an array whose length the format fixes.
    template <class T>
    bool IntArray(const char* pszKey, qint64 nMin, qint64 nMax, T* pOut, qsizetype nSize) {
        QJsonArray array;
        if (!Array(pszKey, array, nSize))
            return false;
        for (qsizetype i = 0; i < nSize; ++i) {
            qint64 n = 0;
            if (!IntValue(array[i], PathOf(pszKey) + QStringLiteral("[%1]").arg(i), nMin, nMax, n))
                return false;
            pOut[i] = static_cast<T>(n);
        }
        return true;
    }

    bool Bool(const char* pszKey, bool& b) {
        QJsonValue value;
        if (!Value(pszKey, value))
            return false;
        if (!value.isBool())
            return Fail(PathOf(pszKey), QStringLiteral("expected true or false"));
        b = value.toBool();
        return true;
    }

    bool String(const char* pszKey, QString& str) {
        QJsonValue value;
        if (!Value(pszKey, value))
            return false;
        if (!value.isString())
            return Fail(PathOf(pszKey), QStringLiteral("expected a string"));
        str = value.toString();
        return true;
    }

private:
    QJsonObject m_obj;
    QString m_strPath;
    QString& m_strError;
};

// A section read from the JSON, with where it stood there.
struct SReadSection {
    std::unique_ptr<CSection> pSection;
    qsizetype nIndex;
};

QString SectionPath(qsizetype nIndex) {
    return QStringLiteral("sections[%1]").arg(nIndex);
}

// One section object filled from the JSON. Numbers and values are those the module can take:
// anything else could only be sent as another sound or another value.
bool ReadSection(const QJsonValue& value, qsizetype nIndex, SReadSection& out, QString& strError) {
    const QString strPath = SectionPath(nIndex);
    if (!value.isObject()) {
        strError = strPath + QStringLiteral(": expected an object");
        return false;
    }
    CFieldReader in(value.toObject(), strPath, strError);
    if (!in.OnlyKeys({"class", "kind", "number", "active", "name", "params"}))
        return false;
    QString strClass;
    qint64 nKind = 0;
    if (!in.String("class", strClass) ||
        !in.Int("kind", Kinds::kFirstKind, Kinds::kLastKind, nKind))
        return false;
    const Kinds::SKindInfo& info = Kinds::Info(static_cast<int>(nKind));
    if (strClass != QLatin1String(info.pszClass))
        return in.Fail(in.PathOf("class"), QStringLiteral("\"%1\" is not the class of kind %2 (%3)")
                                               .arg(strClass)
                                               .arg(nKind)
                                               .arg(QLatin1String(info.pszClass)));
    qint64 nNumber = 0;
    bool bActive = false;
    QString strName;
    std::int32_t params[Kinds::kMaxParams] = {};
    if (!in.Int("number", 0, info.nVariations - 1, nNumber) || !in.Bool("active", bActive) ||
        !in.String("name", strName) ||
        !in.IntArray("params", Kinds::kMinValue, Kinds::kMaxValue, params, info.nParams))
        return false;

    // Names hold bytes; each is one Latin-1 character, and short names are filled as the
    // editor fills them, with blanks.
    // Counted in characters as a reader counts them, so a pair of UTF-16 halves is one.
    qsizetype nCharacter = 0;
    for (const char32_t cp : QStringView(strName).toUcs4()) {
        ++nCharacter;
        if (cp > 0xFF)
            return in.Fail(in.PathOf("name"),
                           QStringLiteral("character %1 (U+%2) is not one byte")
                               .arg(nCharacter)
                               .arg(QString::number(cp, 16).toUpper().rightJustified(4, u'0')));
    }
    if (strName.size() > info.nNameLen)
        return in.Fail(in.PathOf("name"),
                       QStringLiteral("longer than %1 characters").arg(info.nNameLen));
    QByteArray name = strName.toLatin1();
    name.append(info.nNameLen - name.size(), ' ');

    std::unique_ptr<CSection> pSection(NewSectionOfKind(static_cast<int>(nKind)));
    if (!pSection || !pSection->SetStoredFields(bActive, static_cast<std::int32_t>(nNumber),
                                                name.constData(), params)) {
        strError = strPath + QStringLiteral(": out of memory");
        return false;
    }
    out.pSection = std::move(pSection);
    out.nIndex = nIndex;
    return true;
}

// The store holds each kind and number once, with at most one active mark per kind, in its own
// order; sections are put into it here so that the file loads as it was written.
bool PutInStoreOrder(std::vector<SReadSection>& sections, QString& strError) {
    std::stable_sort(sections.begin(), sections.end(), [](const auto& a, const auto& b) {
        return Kinds::StoreOrderLess(a.pSection->GetKind(), a.pSection->GetNumber(),
                                     b.pSection->GetKind(), b.pSection->GetNumber());
    });
    std::array<qsizetype, Kinds::kLastKind + 1> marked;
    marked.fill(-1);
    // Each complaint names the entry that comes later in the JSON, and the one before it.
    auto later = [](const SReadSection& a, const SReadSection& b) {
        return a.nIndex < b.nIndex ? std::pair(&a, &b) : std::pair(&b, &a);
    };
    for (std::size_t i = 0; i < sections.size(); ++i) {
        const CSection& s = *sections[i].pSection;
        if (i > 0 && sections[i - 1].pSection->GetKind() == s.GetKind() &&
            sections[i - 1].pSection->GetNumber() == s.GetNumber()) {
            const auto [pFirst, pSecond] = later(sections[i - 1], sections[i]);
            strError = SectionPath(pSecond->nIndex) +
                       QStringLiteral(": %1 is given twice, also as %2")
                           .arg(Cli::SectionName(s), SectionPath(pFirst->nIndex));
            return false;
        }
        if (!s.IsActive())
            continue;
        qsizetype& nMarked = marked[static_cast<std::size_t>(s.GetKind())];
        if (nMarked >= 0) {
            const SReadSection& other =
                *std::find_if(sections.begin(), sections.end(),
                              [&](const auto& r) { return r.nIndex == nMarked; });
            const auto [pFirst, pSecond] = later(other, sections[i]);
            strError = SectionPath(pSecond->nIndex) +
                       QStringLiteral(".active: %1 is marked active, and so is %2 (%3); a kind "
                                      "has one active variation at most")
                           .arg(Cli::SectionName(*pSecond->pSection), SectionPath(pFirst->nIndex),
                                Cli::SectionName(*pFirst->pSection));
            return false;
        }
        nMarked = sections[i].nIndex;
    }
    return true;
}

bool WriteWindow(const QJsonValue& value, const QString& strPath, CArchive& ar, QString& strError) {
    if (!value.isObject()) {
        strError = strPath + QStringLiteral(": expected an object");
        return false;
    }
    CFieldReader in(value.toObject(), strPath, strError);
    qint64 nViewType = 0;
    qint64 nNumber = 0;
    QJsonObject placement;
    if (!in.OnlyKeys({"viewType", "number", "placement"}) ||
        !in.Int("viewType", kI32Min, kI32Max, nViewType) ||
        !in.Int("number", kI32Min, kI32Max, nNumber) || !in.Object("placement", placement))
        return false;

    SWindowPlacement p;
    CFieldReader place(placement, in.PathOf("placement"), strError);
    qint64 nFlags = 0;
    qint64 nLength = 0;
    qint64 nShowCmd = 0;
    std::int32_t min[2];
    std::int32_t max[2];
    std::int32_t normal[4];
    if (!place.OnlyKeys({"flags", "length", "showCmd", "min", "max", "normal"}) ||
        !place.Int("flags", 0, kU32Max, nFlags) || !place.Int("length", 0, kU32Max, nLength) ||
        !place.Int("showCmd", 0, kU32Max, nShowCmd) ||
        !place.IntArray("min", kI32Min, kI32Max, min, 2) ||
        !place.IntArray("max", kI32Min, kI32Max, max, 2) ||
        !place.IntArray("normal", kI32Min, kI32Max, normal, 4))
        return false;
    p.nFlags = static_cast<std::uint32_t>(nFlags);
    p.nLength = static_cast<std::uint32_t>(nLength);
    p.nShowCmd = static_cast<std::uint32_t>(nShowCmd);
    p.nMinX = min[0];
    p.nMinY = min[1];
    p.nMaxX = max[0];
    p.nMaxY = max[1];
    p.nLeft = normal[0];
    p.nTop = normal[1];
    p.nRight = normal[2];
    p.nBottom = normal[3];
    return ar.WriteObject(CWorkspace(static_cast<int>(nViewType), static_cast<int>(nNumber), p));
}

} // namespace

QJsonDocument FromDocument(const CQuenleyDoc& doc) {
    QJsonArray sections;
    for (const auto& pSection : doc.GetSectionList()) {
        const CSection& s = *pSection;
        QJsonArray params;
        for (int i = 0; i < s.GetParamCount(); ++i)
            params.append(s.GetParam(i));
        QJsonObject obj;
        obj.insert(QStringLiteral("class"), QLatin1String(s.Info().pszClass));
        obj.insert(QStringLiteral("kind"), s.GetKind());
        obj.insert(QStringLiteral("number"), s.GetNumber());
        obj.insert(QStringLiteral("active"), s.IsActive());
        // Every stored byte, NULs included, one Latin-1 character each.
        obj.insert(QStringLiteral("name"),
                   s.GetName() ? QString::fromLatin1(s.GetName(), s.GetNameLength()) : QString());
        obj.insert(QStringLiteral("params"), params);
        sections.append(obj);
    }
    QJsonArray windows;
    for (const auto& pRecord : doc.GetWorkspaces()) {
        const SWindowPlacement& p = pRecord->m_placement;
        QJsonObject placement;
        placement.insert(QStringLiteral("flags"), static_cast<qint64>(p.nFlags));
        placement.insert(QStringLiteral("length"), static_cast<qint64>(p.nLength));
        placement.insert(QStringLiteral("showCmd"), static_cast<qint64>(p.nShowCmd));
        placement.insert(QStringLiteral("min"), IntArray({p.nMinX, p.nMinY}));
        placement.insert(QStringLiteral("max"), IntArray({p.nMaxX, p.nMaxY}));
        placement.insert(QStringLiteral("normal"),
                         IntArray({p.nLeft, p.nTop, p.nRight, p.nBottom}));
        QJsonObject obj;
        obj.insert(QStringLiteral("viewType"), pRecord->m_nViewType);
        obj.insert(QStringLiteral("number"), pRecord->m_nNumber);
        obj.insert(QStringLiteral("placement"), placement);
        windows.append(obj);
    }
    QJsonObject root;
    root.insert(QStringLiteral("sections"), sections);
    root.insert(QStringLiteral("windows"), windows);
    return QJsonDocument(root);
}

bool ToProjectBytes(const QJsonDocument& json, QByteArray& bytes, QString& strError) {
    if (!json.isObject()) {
        strError = QStringLiteral("expected an object with \"sections\" and \"windows\"");
        return false;
    }
    CFieldReader root(json.object(), QString(), strError);
    QJsonArray sections;
    QJsonArray windows;
    if (!root.OnlyKeys({"sections", "windows"}) || !root.Array("sections", sections) ||
        !root.Array("windows", windows))
        return false;

    std::vector<SReadSection> read(static_cast<std::size_t>(sections.size()));
    for (qsizetype i = 0; i < sections.size(); ++i)
        if (!ReadSection(sections[i], i, read[static_cast<std::size_t>(i)], strError))
            return false;
    if (!PutInStoreOrder(read, strError))
        return false;

    QByteArray out;
    CArchive ar(out, CArchive::kStore);
    ar.WriteCount(static_cast<std::uint32_t>(read.size()));
    for (const SReadSection& r : read)
        ar.WriteObject(*r.pSection);
    ar.WriteCount(static_cast<std::uint32_t>(windows.size()));
    for (qsizetype i = 0; i < windows.size(); ++i)
        if (!WriteWindow(windows[i], QStringLiteral("windows[%1]").arg(i), ar, strError))
            return false;
    // The editor would refuse to open anything larger.
    if (out.size() > ProjectFile::kMaxFileSize) {
        strError = QStringLiteral("the project would take %1 bytes, more than a project file may "
                                  "hold (%2)")
                       .arg(out.size())
                       .arg(ProjectFile::kMaxFileSize);
        return false;
    }
    bytes = out;
    return true;
}

} // namespace ProjectJson
