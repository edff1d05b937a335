#include "CliArgs.h"
#include "CliCommands.h"

#include "CQuenleyDoc.h"
#include "CSection.h"
#include "CopyOperations.h"
#include "SectionKinds.h"

#include <array>

namespace Cli {

namespace {

// The kinds as the command line names them, by kind number.
constexpr std::array<const char*, Kinds::kLastKind + 1> kKindWords{
    nullptr, "kit",  "kick",    "snare", "lotom", "hitom",
    "hihat", "clap", "rimshot", "crash", "ride",  "lfo",
};

QString KindWord(int nKind) {
    return QString::fromLatin1(kKindWords[static_cast<size_t>(nKind)]);
}

struct SPlace {
    int nKind = 0;
    int nNumber = 0;
};

QString PlaceName(int nKind, int nNumber) {
    return KindWord(nKind) + QLatin1Char(':') + QString::number(nNumber);
}

// "kit:300" into a kind and a number in its range, or the reason why not.
bool ParsePlace(const QString& strPlace, SPlace& place, QString& strError) {
    const qsizetype nColon = strPlace.indexOf(QLatin1Char(':'));
    const QString strKind = strPlace.left(nColon);
    const QString strNumber = strPlace.mid(nColon + 1);
    if (nColon < 0 || strNumber.isEmpty()) {
        strError = QStringLiteral("\"%1\" is not KIND:NUMBER").arg(strPlace);
        return false;
    }
    place.nKind = 0;
    for (int k = Kinds::kFirstKind; k <= Kinds::kLastKind; ++k)
        if (strKind == KindWord(k))
            place.nKind = k;
    if (place.nKind == 0) {
        QStringList words;
        for (int k = Kinds::kFirstKind; k <= Kinds::kLastKind; ++k)
            words << KindWord(k);
        strError = QStringLiteral("\"%1\": unknown kind \"%2\"; the kinds are %3")
                       .arg(strPlace, strKind, words.join(QStringLiteral(", ")));
        return false;
    }
    const int nLast = Kinds::Info(place.nKind).nVariations - 1;
    bool bDigits = strNumber.size() <= 4;
    for (QChar c : strNumber)
        bDigits = bDigits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    place.nNumber = bDigits ? strNumber.toInt() : -1;
    if (place.nNumber < 0 || place.nNumber > nLast) {
        strError = QStringLiteral("\"%1\": %2 numbers go from 0 to %3")
                       .arg(strPlace, KindWord(place.nKind))
                       .arg(nLast);
        return false;
    }
    return true;
}

} // namespace

int Copy(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "copy",
        "FROM.qly SOURCE TO.qly TARGET [--with-sounds] [--overwrite]",
        "Copies one variation or kit of FROM.qly into TO.qly, as the editor's Copy does.\n"
        "SOURCE and TARGET are KIND:NUMBER, KIND one of kit, kick, snare, lotom, hitom,\n"
        "hihat, clap, rimshot, crash, ride, lfo; kits go from 0 to 767 (the bank is\n"
        "NUMBER / 256), the others from 0 to 255. A kit copy takes all its values. With\n"
        "--with-sounds it takes the kit's sounds along instead: each sound the kit uses\n"
        "is copied to number TARGET % 256 of its kind, and the new kit uses those copies;\n"
        "a sound FROM.qly lacks is left out. A target that exists, the kit or one of its\n"
        "sounds, is refused and named unless --overwrite is given. FROM.qly and TO.qly\n"
        "may be one file; FROM.qly may be - for standard input. TO.qly is replaced only\n"
        "once the new file is complete, and not at all when the copy is refused. What\n"
        "was copied is written to standard output.\n",
        {},
        4};
    static const QStringList kFlags{QStringLiteral("with-sounds"), QStringLiteral("overwrite")};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err, kFlags); nExit >= 0)
        return nExit;
    const QString strPrefix = Prefix(kSyntax);
    const QString& strFrom = a.positional[0];
    const QString& strTo = a.positional[2];
    const bool bWithSounds = a.options.contains(QStringLiteral("with-sounds"));
    const bool bOverwrite = a.options.contains(QStringLiteral("overwrite"));
    SPlace source;
    SPlace target;
    QString strError;
    if (!ParsePlace(a.positional[1], source, strError) ||
        !ParsePlace(a.positional[3], target, strError)) {
        err << strPrefix << ": " << strError << "\n";
        return kExitUsage;
    }
    const QString strSource = PlaceName(source.nKind, source.nNumber);
    const QString strTarget = PlaceName(target.nKind, target.nNumber);
    if (source.nKind != target.nKind) {
        err << strPrefix << ": " << strSource << " cannot be copied to " << strTarget
            << ": the kinds differ\n";
        return kExitUsage;
    }
    if (bWithSounds && source.nKind != Kinds::kKit) {
        err << strPrefix << ": --with-sounds takes a kit's sounds along; " << strSource
            << " is no kit\n";
        return kExitUsage;
    }
    if (IsStdio(strTo)) {
        err << strPrefix << ": TO.qly cannot be standard output: it is read, then written\n";
        return kExitUsage;
    }
    const bool bSameFile = IsSameFile(strFrom, strTo);
    if (bSameFile && source.nNumber == target.nNumber) {
        err << strPrefix << ": " << strSource << " would be copied onto itself\n";
        return kExitUsage;
    }

    CQuenleyDoc fromDoc;
    CQuenleyDoc toDoc;
    if (!bSameFile && !LoadProject(strFrom, fromDoc, strPrefix, err))
        return kExitFailure;
    if (!LoadProject(strTo, toDoc, strPrefix, err))
        return kExitFailure;
    CQuenleyDoc& sourceDoc = bSameFile ? toDoc : fromDoc;
    const CSection* pSource = sourceDoc.FindVariationOfKind(source.nKind, source.nNumber);
    if (!pSource) {
        err << strPrefix << ": " << InputName(strFrom) << ": " << strSource
            << " is not in the project\n";
        return kExitFailure;
    }

    // Every target that exists is named, not just the first; without --overwrite nothing is
    // written, so going on past one costs nothing.
    QStringList problems;
    const CopyOperations::FAsk ask = [&](const CopyOperations::SQuestion& q) {
        const QString strName = PlaceName(q.nKind, q.nNumber);
        if (q.eType == CopyOperations::SQuestion::EType::kCopyFailed)
            problems << strName + QStringLiteral(": its values could not be copied");
        else if (!bOverwrite)
            problems << strName + QStringLiteral(" exists; --overwrite replaces it");
        return true;
    };
    const CopyOperations::SResult result =
        CopyOperations::Copy(toDoc, sourceDoc, *pSource, target.nNumber, {bWithSounds}, ask);
    if (!result.pTarget && problems.isEmpty())
        problems << strTarget + QStringLiteral(" could not be made");
    for (const QString& strProblem : problems)
        err << strPrefix << ": " << strTo << ": " << strProblem << "\n";
    if (!problems.isEmpty())
        return kExitFailure;
    if (!WriteOutput(strTo, toDoc.SaveToBytes(), strError)) {
        err << strPrefix << ": " << AboutFile(strTo, strError) << "\n";
        return kExitFailure;
    }
    out << result.strOutcome << "\n";
    return FinishOutput(out, strPrefix, err) ? kExitOk : kExitFailure;
}

} // namespace Cli
