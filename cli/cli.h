#pragma once

#include "core/vdr/dayreport.h"

#include <QCommandLineParser>
#include <QString>
#include <QStringList>

// The commands of tavrin-vdr. Each takes its arguments (the command name first) and returns
// the process exit code.
namespace cli {

enum ExitCode
{
    ExitOk = 0,
    ExitProblem = 1, // check: a file is not sound; download: a day failed
    ExitUsage = 2,   // bad arguments, or a file or device that cannot be read or opened
};

int runCheck(const QStringList &arguments);
int runDump(const QStringList &arguments);
int runExport(const QStringList &arguments);
int runDownload(const QStringList &arguments);
int runReport(const QStringList &arguments);

// Reads a whole file; false with a reason when it cannot be opened or read.
bool readFile(const QString &path, QByteArray *data, QString *error);

// Parses a command's arguments. Returns -1 when the command goes on, or the exit code to
// return at once: a usage error (reported) or --help (shown).
int parseArguments(QCommandLineParser &parser, const QString &command, const QStringList &arguments);

// The one day file a command was given, read whole; the exit code to return at once when
// there is not exactly one or it cannot be read (reported), else -1.
int readSingleDayFile(const QCommandLineParser &parser, const QString &command, QString *path,
                      QByteArray *data);

// Messages to standard error, and text to standard output, UTF-8.
void printError(const QString &text);
void printOut(const QString &text);

} // namespace cli
