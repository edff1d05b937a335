#pragma once

#include "ProjectFile.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

class CQuenleyDoc;
class CSection;

// What the subcommands share: splitting their arguments, the checks every file name gets, and
// reading a project the way the editor does.
namespace Cli {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1; // a file or its contents
constexpr int kExitUsage = 2;   // the command line itself

// What a subcommand accepts and what its --help says.
struct SSyntax {
    const char* pszName;  // "syx"
    const char* pszUsage; // "FILE.qly OUT.syx [--channel N]"
    const char* pszHelp;  // the paragraphs after the usage line
    QStringList options;  // option names without the dashes
    int nPositional;
};

// Positional arguments and the values of "--name VALUE" / "--name=VALUE" options.
struct SArgs {
    QStringList positional;
    QMap<QString, QString> options;
};

// Splits args; every option must be one of options, which take a value, or of flags, which
// take none and stand in out.options with an empty value (names without the dashes). On
// failure writes the reason after the prefix ("quenley-cli syx") to err.
bool SplitArgs(const QStringList& args, const QStringList& options, SArgs& out,
               const QString& strPrefix, QTextStream& err, const QStringList& flags = {});

// Answers --help, splits the arguments and checks their number. Returns -1 when the command
// goes on, otherwise the exit code to return at once.
int ParseArgs(const QStringList& args, const SSyntax& syntax, SArgs& out, QTextStream& stdOut,
              QTextStream& err, const QStringList& flags = {});
// "quenley-cli syx", which starts every message of the command.
QString Prefix(const SSyntax& syntax);

// The option's value as an integer in [nMin, nMax]; nDefault when the option is absent.
bool IntOption(const SArgs& args, const QString& strName, int nMin, int nMax, int nDefault,
               int& nValue, const QString& strPrefix, QTextStream& err);

// Reads a project file ("-": standard input) into the document, keeping the records of its
// saved windows. On failure writes the message the editor would show, after the prefix, to err.
bool LoadProject(const QString& strPath, CQuenleyDoc& doc, const QString& strPrefix,
                 QTextStream& err);

// "-" stands for standard input where a command reads a file, and for standard output where it
// writes one. The names below are how messages call them.
bool IsStdio(const QString& strPath);
QString InputName(const QString& strPath);
QString OutputName(const QString& strPath);
// The whole input, at most nMaxSize bytes; the output written whole, a regular file only once
// complete. Failures as the message, naming the file.
bool ReadInput(const QString& strPath, qint64 nMaxSize, QByteArray& bytes, QString& strError,
               ProjectFile::EContent eContent = ProjectFile::EContent::Project);
bool WriteOutput(const QString& strPath, const QByteArray& bytes, QString& strError);

// True when both names lead to one existing file, so writing one would destroy the other.
bool IsSameFile(const QString& strA, const QString& strB);

// "kick", "kit", "LFOs" for a view type, as the editor's windows are called.
QString ViewName(int nViewType);
// "kick 256", "kit 768".
QString SectionName(const CSection& section);
// Why the section cannot be sent as it is ("its number is outside 0..255"); empty when it can.
QString SendFaultText(const CSection& section);

// Pushes out what was written to standard output; false (with a message) when it could not
// be written, say to a full disk, so that a lost result never looks like success.
bool FinishOutput(QTextStream& out, const QString& strPrefix, QTextStream& err);

// "FILE: what is wrong", without naming the file twice when the message already does.
QString AboutFile(const QString& strPath, const QString& strError);

} // namespace Cli
