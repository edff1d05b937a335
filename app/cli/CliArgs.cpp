#include "CliArgs.h"

#include "CQuenleyDoc.h"
#include "ProjectFile.h"

#include <QDir>
#include <QFileInfo>

namespace Cli {

QString Prefix(const SSyntax& syntax) {
    return QStringLiteral("quenley-cli ") + QLatin1String(syntax.pszName);
}

int ParseArgs(const QStringList& args, const SSyntax& syntax, SArgs& out, QTextStream& stdOut,
              QTextStream& err) {
    const QString strUsage = QStringLiteral("Usage: %1 %2\n")
                                 .arg(Prefix(syntax), QLatin1String(syntax.pszUsage))
                                 .replace(QStringLiteral(" \n"), QStringLiteral("\n"));
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        stdOut << strUsage << "\n" << syntax.pszHelp;
        return kExitOk;
    }
    if (!SplitArgs(args, syntax.options, out, Prefix(syntax), err))
        return kExitUsage;
    if (out.positional.size() != syntax.nPositional) {
        err << strUsage;
        return kExitUsage;
    }
    return -1;
}

bool SplitArgs(const QStringList& args, const QStringList& options, SArgs& out,
               const QString& strPrefix, QTextStream& err) {
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
        if (!strArg.startsWith(QLatin1String("--")) || !options.contains(strName)) {
            err << strPrefix << ": unknown option \"" << strArg << "\"\n";
            return false;
        }
        if (!bHasValue) {
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
    if (!ProjectFile::Read(strPath, bytes, strError)) {
        if (strError.isEmpty())
            strError = QString::fromLatin1(ProjectFile::kFailedToOpen);
    } else if (!doc.LoadFromBytes(bytes)) {
        strError = QString::fromLatin1(ProjectFile::kUnexpectedFormat);
    } else {
        return true;
    }
    err << strPrefix << ": " << AboutFile(strPath, strError) << "\n";
    return false;
}

bool IsSameFile(const QString& strA, const QString& strB) {
    const QString strCanonicalA = QFileInfo(strA).canonicalFilePath();
    return !strCanonicalA.isEmpty() && strCanonicalA == QFileInfo(strB).canonicalFilePath();
}

bool FinishOutput(QTextStream& out, const QString& strPrefix, QTextStream& err) {
    out.flush();
    if (out.status() == QTextStream::Ok)
        return true;
    err << strPrefix << ": cannot write to standard output\n";
    return false;
}

QString AboutFile(const QString& strPath, const QString& strError) {
    if (strError.contains(QDir::toNativeSeparators(strPath)))
        return strError;
    return strPath + QStringLiteral(": ") + strError;
}

} // namespace Cli
