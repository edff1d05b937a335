#include "CliArgs.h"

#include "CQuenleyDoc.h"
#include "CSection.h"
#include "ProjectFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdio>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#include <unistd.h>
#else
#define STDIN_FILENO 0
#define STDOUT_FILENO 1
#endif

namespace Cli {

QString Prefix(const SSyntax& syntax) {
    return QStringLiteral("quenley-cli ") + QLatin1String(syntax.pszName);
}

int ParseArgs(const QStringList& args, const SSyntax& syntax, SArgs& out, QTextStream& stdOut,
              QTextStream& err, const QStringList& flags) {
    const QString strUsage = QStringLiteral("Usage: %1 %2\n")
                                 .arg(Prefix(syntax), QLatin1String(syntax.pszUsage))
                                 .replace(QStringLiteral(" \n"), QStringLiteral("\n"));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        stdOut << strUsage << "\n" << syntax.pszHelp;
        return FinishOutput(stdOut, Prefix(syntax), err) ? kExitOk : kExitFailure;
    }
    if (!SplitArgs(args, syntax.options, out, Prefix(syntax), err, flags))
        return kExitUsage;
    if (out.positional.size() != syntax.nPositional) {
        err << strUsage;
        return kExitUsage;
    }
    // Every positional argument names a file.
    if (out.positional.contains(QString())) {
        err << Prefix(syntax) << ": an empty file name was given\n";
        return kExitUsage;
    }
    return -1;
}

bool SplitArgs(const QStringList& args, const QStringList& options, SArgs& out,
               const QString& strPrefix, QTextStream& err, const QStringList& flags) {
    bool bOptionsEnded = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& strArg = args[i];
        if (bOptionsEnded || !strArg.startsWith(QLatin1Char('-')) || strArg == QLatin1String("-")) {
            out.positional << strArg;
            continue;
        }
        if (strArg == QLatin1String("--")) {
            bOptionsEnded = true;
            continue;
        }
        QString strName = strArg.mid(2);
        QString strValue;
        bool bHasValue = false;
        if (const qsizetype nEq = strName.indexOf(QLatin1Char('=')); nEq >= 0) {
            strValue = strName.mid(nEq + 1);
            strName.truncate(nEq);
            bHasValue = true;
        }
        const bool bFlag = flags.contains(strName);
        if (!strArg.startsWith(QLatin1String("--")) || (!options.contains(strName) && !bFlag)) {
            err << strPrefix << ": unknown option \"" << strArg << "\"\n";
            return false;
        }
        if (bFlag && bHasValue) {
            err << strPrefix << ": option --" << strName << " takes no value\n";
            return false;
        }
        if (!bHasValue && !bFlag) {
            if (i + 1 >= args.size()) {
                err << strPrefix << ": option --" << strName << " needs a value\n";
                return false;
            }
            strValue = args[++i];
        }
        if (out.options.contains(strName)) {
            err << strPrefix << ": option --" << strName << " given twice\n";
            return false;
        }
        out.options.insert(strName, strValue);
    }
    return true;
}

bool IntOption(const SArgs& args, const QString& strName, int nMin, int nMax, int nDefault,
               int& nValue, const QString& strPrefix, QTextStream& err) {
    const auto it = args.options.constFind(strName);
    if (it == args.options.constEnd()) {
        nValue = nDefault;
        return true;
    }
    bool bOk = false;
    nValue = it->toInt(&bOk);
    if (!bOk || nValue < nMin || nValue > nMax) {
        err << strPrefix << ": --" << strName << " must be a number from " << nMin << " to " << nMax
            << ", not \"" << *it << "\"\n";
        return false;
    }
    return true;
}

bool LoadProject(const QString& strPath, CQuenleyDoc& doc, const QString& strPrefix,
                 QTextStream& err) {
    // Not OnOpenDocument: without a host it would drop the window records we are asked for.
    QByteArray bytes;
    QString strError;
    if (!ReadInput(strPath, ProjectFile::kMaxFileSize, bytes, strError)) {
        if (strError.isEmpty())
            strError = QString::fromLatin1(ProjectFile::kFailedToOpen);
    } else if (!doc.LoadFromBytes(bytes)) {
        strError = QString::fromLatin1(ProjectFile::kUnexpectedFormat);
    } else {
        return true;
    }
    err << strPrefix << ": " << AboutFile(InputName(strPath), strError) << "\n";
    return false;
}

bool IsStdio(const QString& strPath) {
    return strPath == QLatin1String("-");
}

QString InputName(const QString& strPath) {
    return IsStdio(strPath) ? QStringLiteral("standard input") : strPath;
}

QString OutputName(const QString& strPath) {
    return IsStdio(strPath) ? QStringLiteral("standard output") : strPath;
}

bool ReadInput(const QString& strPath, qint64 nMaxSize, QByteArray& bytes, QString& strError,
               ProjectFile::EContent eContent) {
    if (!IsStdio(strPath))
        return ProjectFile::Read(strPath, bytes, strError, nMaxSize, eContent);
    QFile in;
    if (!in.open(STDIN_FILENO, QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        strError = QStringLiteral("standard input cannot be read.");
        return false;
    }
    return ProjectFile::ReadDevice(in, InputName(strPath), nMaxSize, bytes, strError, eContent);
}

bool WriteOutput(const QString& strPath, const QByteArray& bytes, QString& strError) {
    if (!IsStdio(strPath))
        return ProjectFile::Write(strPath, bytes, strError);
    QFile out;
    if (!out.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered,
                  QFileDevice::DontCloseHandle)) {
        strError = QStringLiteral("standard output cannot be written.");
        return false;
    }
    return ProjectFile::WriteDevice(out, OutputName(strPath), bytes, strError);
}

bool IsSameFile(const QString& strA, const QString& strB) {
    if (IsStdio(strA) || IsStdio(strB))
        return false;
#ifdef Q_OS_UNIX
    // By the files themselves: names need not be text, and two names may lead to one file.
    struct stat a {};
    struct stat b {};
    return ::stat(ProjectFile::EncodeName(strA).constData(), &a) == 0 &&
           ::stat(ProjectFile::EncodeName(strB).constData(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
#else
    const QString strCanonicalA = QFileInfo(strA).canonicalFilePath();
    return !strCanonicalA.isEmpty() && strCanonicalA == QFileInfo(strB).canonicalFilePath();
#endif
}

QString ViewName(int nViewType) {
    // The editor's window kinds by view type.
    static constexpr std::array<const char*, 13> kViewNames{
        nullptr,  "quick", "kit",     "kick",  "snare", "low tom", "high tom",
        "hi-hat", "clap",  "rimshot", "crash", "ride",  "LFOs",
    };
    if (nViewType > 0 && nViewType < static_cast<int>(kViewNames.size()))
        return QString::fromLatin1(kViewNames[static_cast<size_t>(nViewType)]);
    return QStringLiteral("view type %1").arg(nViewType);
}

QString SectionName(const CSection& section) {
    // Each kind's window comes one view type after it, behind the quick view.
    return ViewName(section.GetKind() + 1) + QLatin1Char(' ') +
           QString::number(section.GetNumber());
}

QString SendFaultText(const CSection& section) {
    int nParam = 0;
    switch (section.SendFault(&nParam)) {
    case CSection::ESendFault::kNone:
        return QString();
    case CSection::ESendFault::kNumber:
        return QStringLiteral("its number is outside 0..%1").arg(section.Info().nVariations - 1);
    case CSection::ESendFault::kValue:
        return QStringLiteral("params[%1] is %2, outside %3..%4")
            .arg(nParam)
            .arg(section.GetParam(nParam))
            .arg(Kinds::kMinValue)
            .arg(Kinds::kMaxValue);
    }
    return QString();
}

bool FinishOutput(QTextStream& out, const QString& strPrefix, QTextStream& err) {
    out.flush();
    if (out.status() == QTextStream::Ok)
        return true;
    err << strPrefix << ": cannot write to standard output\n";
    return false;
}

QString AboutFile(const QString& strPath, const QString& strError) {
    // Where the file messages put the name; a mere substring would make a short name such as
    // "a" look named in every message.
    const QString strName = QDir::toNativeSeparators(strPath);
    if (strError.startsWith(strName + QLatin1Char(' ')) ||
        strError.startsWith(strName + QLatin1Char(':')) ||
        strError.contains(QLatin1Char(' ') + strName + QLatin1Char(' ')) ||
        strError.endsWith(QLatin1Char(' ') + strName + QLatin1Char('.')))
        return strError;
    return strPath + QStringLiteral(": ") + strError;
}

} // namespace Cli
