#pragma once

#include <QStringList>
#include <QTextStream>

// The subcommands of quenley-cli. Each takes its own arguments (without the program and command
// names), writes results to out and errors to err, and returns the process exit code.
namespace Cli {

struct Command {
    const char* pszName;
    const char* pszSummary;
    int (*pRun)(const QStringList& args, QTextStream& out, QTextStream& err);
};

int Ports(const QStringList& args, QTextStream& out, QTextStream& err);
int Dump(const QStringList& args, QTextStream& out, QTextStream& err);
int ToJson(const QStringList& args, QTextStream& out, QTextStream& err);
int FromJson(const QStringList& args, QTextStream& out, QTextStream& err);
int Syx(const QStringList& args, QTextStream& out, QTextStream& err);
int FromSyx(const QStringList& args, QTextStream& out, QTextStream& err);
int Send(const QStringList& args, QTextStream& out, QTextStream& err);
int Receive(const QStringList& args, QTextStream& out, QTextStream& err);
int Copy(const QStringList& args, QTextStream& out, QTextStream& err);

// Every subcommand, in the order --help lists them.
const Command* Commands(int& nCount);

} // namespace Cli
