#include "CliArgs.h"
#include "CliCommands.h"
#include "ProjectJson.h"

#include "CMidiWnd.h"
#include "CQuenleyDoc.h"
#include "CSysExFileDriver.h"
#include "CSysExItem.h"
#include "ProjectFile.h"
#include "TransmitWindow.h"

#include <QFile>
#include <QJsonParseError>

#include <array>

namespace Cli {

namespace {

// The editor's window kinds by view type.
constexpr std::array<const char*, 13> kViewNames{
    nullptr,  "quick", "kit",     "kick",  "snare", "low tom", "high tom",
    "hi-hat", "clap",  "rimshot", "crash", "ride",  "LFOs",
};

QString ViewName(int nViewType) {
    if (nViewType > 0 && nViewType < static_cast<int>(kViewNames.size()))
        return QString::fromLatin1(kViewNames[static_cast<size_t>(nViewType)]);
    return QStringLiteral("view type %1").arg(nViewType);
}

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
        "Prints each section of the project in file order: its name as the editor shows\n"
        "it, * for the active variation of its kind, and its values. Then one line per\n"
        "saved editor window: view, variation number and placement.\n",
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
        "into the same file.\n",
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
        "prints) to OUT.qly. Every field is checked first; an existing OUT.qly is replaced\n"
        "only once the new file is complete.\n",
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
    QFile file(strJsonPath);
    if (!file.open(QIODevice::ReadOnly)) {
        err << strPrefix << ": " << strJsonPath << ": " << file.errorString() << "\n";
        return kExitFailure;
    }
    // Generous for the largest project, small enough never to exhaust memory.
    constexpr qint64 kMaxJsonSize = 256 * 1024 * 1024;
    const QByteArray text = file.read(kMaxJsonSize + 1);
    if (file.error() != QFileDevice::NoError) {
        err << strPrefix << ": " << strJsonPath << ": " << file.errorString() << "\n";
        return kExitFailure;
    }
    if (text.size() > kMaxJsonSize) {
        err << strPrefix << ": " << strJsonPath << ": too large for a project\n";
        return kExitFailure;
    }
    QJsonParseError parseError;
    const QJsonDocument json = QJsonDocument::fromJson(text, &parseError);
    if (parseError.error != QJsonParseError::NoError) {
        err << strPrefix << ": " << strJsonPath << ": not valid JSON at offset "
            << parseError.offset << ": " << parseError.errorString() << "\n";
        return kExitFailure;
    }
    QByteArray bytes;
    QString strError;
    if (!ProjectJson::ToProjectBytes(json, bytes, strError)) {
        err << strPrefix << ": " << strJsonPath << ": " << strError << "\n";
        return kExitFailure;
    }
    // What we write must open in the editor.
    CQuenleyDoc check;
    if (!check.LoadFromBytes(bytes)) {
        err << strPrefix << ": " << strJsonPath << ": the result would not be a readable project\n";
        return kExitFailure;
    }
    if (!ProjectFile::Write(strOutPath, bytes, strError)) {
        err << strPrefix << ": " << AboutFile(strOutPath, strError) << "\n";
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
        "(1 when not given). An empty project gives an empty file.\n",
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

    // The editor's own transmit queue, never opened, so every message stays in it.
    QObject owner;
    CMidiWnd wnd(std::make_unique<CSysExFileDriver>());
    if (!wnd.Create(&owner) || !wnd.DMidiOutInit() ||
        !wnd.SetMidiChannel(static_cast<std::uint16_t>(nChannel - 1))) {
        err << strPrefix << ": cannot set up the transmit queue\n";
        return kExitFailure;
    }
    // Sections take the window when they are made, so it must be in before loading.
    TransmitWindow::CScoped scoped(&wnd);
    CQuenleyDoc doc;
    if (!LoadProject(strPath, doc, strPrefix, err))
        return kExitFailure;
    doc.SendProject();

    QByteArray bytes;
    const auto& queue = wnd.Queue();
    for (auto it = queue.rbegin(); it != queue.rend(); ++it)
        bytes.append(reinterpret_cast<const char*>((*it)->pBuffer), (*it)->nLength);
    QString strError;
    if (!ProjectFile::Write(strOutPath, bytes, strError)) {
        err << strPrefix << ": " << AboutFile(strOutPath, strError) << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace Cli
