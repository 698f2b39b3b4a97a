// export: the rows of a page's table as CSV.
#include "cli/cli.h"

#include "vdr/tableexport.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace cli {

int runExport(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the rows of a page's table(s) as CSV (RFC 4180, UTF-8 with a byte-order "
                       "mark, a header row with the column captions).\n"
                       "Tables: events, speed (every half-second sample with a speed), driver (the "
                       "minute table), technology, location (every fix).\n"
                       "Exit 0 on success, 2 for a usage, read or write error."));
    parser.addHelpOption();
    const QCommandLineOption table(QStringLiteral("table"), QStringLiteral("The table to export."),
                                   QStringLiteral("NAME"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write to this file instead of standard output."),
                                    QStringLiteral("OUT.csv"));
    parser.addOption(table);
    parser.addOption(output);
    parser.addPositionalArgument(QStringLiteral("export"), QStringLiteral("the command"));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("the day file"),
                                 QStringLiteral("FILE"));
    if (const int exitNow = parseArguments(parser, QStringLiteral("export"), arguments); exitNow >= 0)
        return exitNow;
    vdr::ExportTable which = vdr::ExportTable::Events;
    if (!exportTableFromName(parser.value(table), &which)) {
        printError(QStringLiteral("tavrin-vdr export: --table must be one of: %1")
                       .arg(vdr::exportTableNames().join(QStringLiteral(", "))));
        return ExitUsage;
    }
    QString path;
    QByteArray data;
    if (const int exitNow = readSingleDayFile(parser, QStringLiteral("export"), &path, &data); exitNow >= 0)
        return exitNow;
    const vdr::DayReport report = vdr::analyseDayFile(QFileInfo(path).fileName(), data);
    for (const QString &problem : report.problems())
        printError(QStringLiteral("%1: %2").arg(path, problem));
    const QByteArray csv = vdr::csvDocument(vdr::exportRows(report, which));

    if (!parser.isSet(output)) {
        std::fwrite(csv.constData(), 1, size_t(csv.size()), stdout);
        return std::fflush(stdout) == 0 ? ExitOk : ExitUsage;
    }
    // Written whole or not at all.
    QSaveFile file(parser.value(output));
    if (!file.open(QIODevice::WriteOnly) || file.write(csv) != csv.size() || !file.commit()) {
        printError(QStringLiteral("%1: cannot write: %2").arg(parser.value(output), file.errorString()));
        return ExitUsage;
    }
    return ExitOk;
}

} // namespace cli
