#include "CliArgs.h"
#include "CliCommands.h"
#include "ProjectJson.h"

#include "CDumpPlan.h"
#include "CQuenleyDoc.h"
#include "CSysExReader.h"
#include "ProjectFile.h"
#include "ProjectSysEx.h"

#include <QJsonParseError>

#include <vector>

namespace Cli {

namespace {

// Names may hold any byte; control characters would act on the terminal instead of showing.
QString Printable(const QByteArray& text) {
    QString str = QString::fromLatin1(text);
    for (QChar& c : str)
        if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            c = QLatin1Char('?');
    return str;
}

} // namespace

int Dump(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "dump",
        "FILE.qly",
        "Prints each section of the project in the editor's order: its name as the editor\n"
        "shows it, * for the active variation of its kind, and its values; a section that\n"
        "cannot be sent as it is (a number or value out of range) is marked with '!' and\n"
        "the reason. Then one line per saved editor window: view, variation number and\n"
        "placement. FILE.qly may be - for standard input.\n",
        {},
        1};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err); nExit >= 0)
        return nExit;
    const QString strPrefix = Prefix(kSyntax);
    const QString& strPath = a.positional.first();
    CQuenleyDoc doc;
    if (!LoadProject(strPath, doc, strPrefix, err))
        return kExitFailure;

    for (const auto& pSection : doc.GetSectionList()) {
        out << Printable(pSection->GetDisplayString()) << (pSection->IsActive() ? " *" : "  ");
        for (int i = 0; i < pSection->GetParamCount(); ++i)
            out << " " << pSection->GetParam(i);
        // The display string alone would pass kit 768 off as kit 0 of bank 3.
        if (const QString strFault = SendFaultText(*pSection); !strFault.isEmpty())
            out << "  ! out of range: " << SectionName(*pSection) << ", " << strFault
                << "; not sent";
        out << "\n";
    }
    for (const auto& pRecord : doc.GetWorkspaces()) {
        const SWindowPlacement& p = pRecord->m_placement;
        out << "window " << ViewName(pRecord->m_nViewType) << " " << pRecord->m_nNumber
            << ": flags " << p.nFlags << ", length " << p.nLength << ", show " << p.nShowCmd
            << ", min (" << p.nMinX << ", " << p.nMinY << "), max (" << p.nMaxX << ", " << p.nMaxY
            << "), normal (" << p.nLeft << ", " << p.nTop << ", " << p.nRight << ", " << p.nBottom
            << ")\n";
    }
    return FinishOutput(out, strPrefix, err) ? kExitOk : kExitFailure;
}

int ToJson(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "to-json",
        "FILE.qly",
        "Writes every field of the project file as JSON to standard output: the sections\n"
        "(class, kind, number, active mark, name with each byte as one Latin-1\n"
        "character, values) and the saved windows. 'quenley-cli from-json' turns it back\n"
        "into the same file, as long as every number and value in it is in range.\n"
        "FILE.qly may be - for standard input.\n",
        {},
        1};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err); nExit >= 0)
        return nExit;
    const QString strPrefix = Prefix(kSyntax);
    const QString& strPath = a.positional.first();
    CQuenleyDoc doc;
    if (!LoadProject(strPath, doc, strPrefix, err))
        return kExitFailure;
    out << ProjectJson::FromDocument(doc).toJson(QJsonDocument::Indented);
    return FinishOutput(out, strPrefix, err) ? kExitOk : kExitFailure;
}

int FromJson(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "from-json",
        "FILE.json OUT.qly",
        "Writes the project that FILE.json describes (in the form 'quenley-cli to-json'\n"
        "prints) to OUT.qly. Every field is checked first: numbers within their kind's\n"
        "range, values from 0 to 255, no kind and number twice, at most one active mark\n"
        "per kind. The sections are stored in the editor's order, whatever order the JSON\n"
        "lists them in. An existing OUT.qly is replaced only once the new file is\n"
        "complete; a pipe or device is written into. Either name may be - for standard\n"
        "input or output.\n",
        {},
        2};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err); nExit >= 0)
        return nExit;
    const QString strPrefix = Prefix(kSyntax);
    const QString& strJsonPath = a.positional[0];
    const QString& strOutPath = a.positional[1];
    if (IsSameFile(strJsonPath, strOutPath)) {
        err << strPrefix << ": " << strOutPath << ": would overwrite the JSON file being read\n";
        return kExitUsage;
    }
    const QString strJsonName = InputName(strJsonPath);
    // Generous for the largest project (a few MB), small enough never to exhaust memory; only
    // what the file holds is read, never the limit reserved.
    constexpr qint64 kMaxJsonSize = 256 * 1024 * 1024;
    QByteArray text;
    QString strError;
    if (!ReadInput(strJsonPath, kMaxJsonSize, text, strError)) {
        err << strPrefix << ": " << AboutFile(strJsonName, strError) << "\n";
        return kExitFailure;
    }
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        err << strPrefix << ": " << strJsonName << ": not valid JSON at offset "
            << parseError.offset << ": " << parseError.errorString() << "\n";
        return kExitFailure;
    }
    QByteArray bytes;
    if (!ProjectJson::ToProjectBytes(json, bytes, strError)) {
        err << strPrefix << ": " << strJsonName << ": " << strError << "\n";
        return kExitFailure;
    }
    // What we write must open in the editor.
    CQuenleyDoc check;
    if (!check.LoadFromBytes(bytes)) {
        err << strPrefix << ": " << strJsonName << ": the result would not be a readable project\n";
        return kExitFailure;
    }
    if (!WriteOutput(strOutPath, bytes, strError)) {
        err << strPrefix << ": " << AboutFile(OutputName(strOutPath), strError) << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

int Syx(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "syx",
        "FILE.qly OUT.syx [--channel N]",
        "Writes the System Exclusive messages that sending the whole project queues, in\n"
        "the order they would go out, to OUT.syx. N is the module's MIDI channel, 1 to 16\n"
        "(1 when not given). An empty project gives an empty file. A section that cannot\n"
        "be sent as it is (a number or value out of range) is left out and named, and the\n"
        "exit code is 1. FILE.qly may be - for standard input, OUT.syx - for standard\n"
        "output; a pipe or device is written into.\n",
        {QStringLiteral("channel")},
        2};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err); nExit >= 0)
        return nExit;
    const QString strPrefix = Prefix(kSyntax);
    int nChannel = 1;
    if (!IntOption(a, QStringLiteral("channel"), 1, 16, 1, nChannel, strPrefix, err))
        return kExitUsage;
    const QString& strPath = a.positional[0];
    const QString& strOutPath = a.positional[1];
    if (IsSameFile(strPath, strOutPath)) {
        err << strPrefix << ": " << strOutPath << ": would overwrite the project being read\n";
        return kExitUsage;
    }

    CQuenleyDoc doc;
    if (!LoadProject(strPath, doc, strPrefix, err))
        return kExitFailure;
    std::vector<const CSection*> skipped;
    const QByteArray bytes =
        ProjectSysEx::Messages(doc, static_cast<std::uint8_t>(nChannel - 1), &skipped);
    for (const CSection* pSection : skipped)
        err << strPrefix << ": " << InputName(strPath) << ": " << SectionName(*pSection)
            << " left out: " << SendFaultText(*pSection) << "\n";

    QString strError;
    if (!WriteOutput(strOutPath, bytes, strError)) {
        err << strPrefix << ": " << AboutFile(OutputName(strOutPath), strError) << "\n";
        return kExitFailure;
    }
    return skipped.empty() ? kExitOk : kExitFailure;
}

int FromSyx(const QStringList& args, QTextStream& out, QTextStream& err) {
    static const SSyntax kSyntax{
        "from-syx",
        "IN.syx OUT.qly [--merge PROJECT.qly]",
        "Reads the module's messages in IN.syx, a dump of the module or a file that\n"
        "'quenley-cli syx' wrote, and writes the variations and kits they carry to\n"
        "OUT.qly. With --merge they go into a copy of PROJECT.qly, overwriting its\n"
        "variations of the same number and keeping its others; without it into an empty\n"
        "project. A value no message carries keeps what the project holds, or a new\n"
        "variation's default; instrument names and active marks are never in a dump. A\n"
        "later message for the same value wins, as in the module. Messages for other\n"
        "devices, other MIDI messages, stray bytes and truncated or damaged messages are\n"
        "skipped and counted. What IN.syx holds, what it overwrites and what was skipped\n"
        "is written to standard error. An IN.syx that holds nothing for the module is\n"
        "refused and OUT.qly left alone. OUT.qly may be PROJECT.qly; an existing\n"
        "OUT.qly is replaced only once the new file is complete. IN.syx may be - for\n"
        "standard input, OUT.qly - for standard output.\n",
        {QStringLiteral("merge")},
        2};
    SArgs a;
    if (const int nExit = ParseArgs(args, kSyntax, a, out, err); nExit >= 0)
        return nExit;
    const QString strPrefix = Prefix(kSyntax);
    const QString& strSyxPath = a.positional[0];
    const QString& strOutPath = a.positional[1];
    if (IsSameFile(strSyxPath, strOutPath)) {
        err << strPrefix << ": " << strOutPath << ": would overwrite the .syx file being read\n";
        return kExitUsage;
    }
    CQuenleyDoc doc;
    if (const auto it = a.options.constFind(QStringLiteral("merge")); it != a.options.constEnd()) {
        if (IsStdio(*it) && IsStdio(strSyxPath)) {
            err << strPrefix << ": the .syx file and the project cannot both be standard input\n";
            return kExitUsage;
        }
        if (!LoadProject(*it, doc, strPrefix, err))
            return kExitFailure;
    }
    const QString strSyxName = InputName(strSyxPath);
    QByteArray bytes;
    QString strError;
    if (!ReadInput(strSyxPath, ProjectFile::kMaxFileSize, bytes, strError,
                   ProjectFile::EContent::Dump)) {
        err << strPrefix << ": " << AboutFile(strSyxName, strError) << "\n";
        return kExitFailure;
    }
    CSysExReader reader;
    reader.Read(bytes);
    CDumpPlan plan;
    plan.Make(reader, doc);
    for (const QString& strLine : plan.Describe(reader))
        err << strPrefix << ": " << strSyxName << ": " << strLine << "\n";
    // Two names swapped or the wrong file: writing would replace a project with an empty one.
    if (plan.IsEmpty()) {
        err << strPrefix << ": " << OutputName(strOutPath) << " was not written\n";
        return kExitFailure;
    }
    if (plan.Apply(doc) < 0) {
        err << strPrefix << ": out of memory\n";
        return kExitFailure;
    }
    if (!WriteOutput(strOutPath, doc.SaveToBytes(), strError)) {
        err << strPrefix << ": " << AboutFile(OutputName(strOutPath), strError) << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace Cli
