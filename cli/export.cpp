// export: the rows of a page's table as CSV, or the day's route as GPX or KML.
#include "cli/cli.h"

#include "core/route/routeexport.h"
#include "core/vdr/tableexport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <QTranslator>

#include <cstdio>

namespace cli {

int runExport(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Writes the rows of a page's table(s) as CSV (RFC 4180, UTF-8 with a byte-order "
                       "mark, a header row with the column captions), or the day's route as GPX 1.1 "
                       "or KML 2.2. Give exactly one of --table and --route.\n"
                       "Captions and texts are those of the viewer in the language of --lang.\n"
                       "Tables: events, speed (every half-second sample with a speed), driver (the "
                       "minute table), technology, location (every fix).\n"
                       "Route: the fixes with a position at full precision; a fix without a position "
                       "breaks the line (GPX: a new track segment). Times are written in UTC, "
                       "converted from the recorder's local time with this machine's time zone.\n"
                       "Exit 0 on success, 1 when the day has no fix with a position (nothing is "
                       "written), 2 for a usage, read or write error."));
    parser.addHelpOption();
    const QCommandLineOption table(QStringLiteral("table"), QStringLiteral("The table to export."),
                                   QStringLiteral("NAME"));
    const QCommandLineOption routeOption(QStringLiteral("route"),
                                         QStringLiteral("Export the route as gpx or kml."),
                                         QStringLiteral("gpx|kml"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Write to this file instead of standard output."),
                                    QStringLiteral("OUT"));
    const QCommandLineOption language(
        QStringLiteral("lang"),
        QStringLiteral("The language of the table's captions and texts: %1 (default en_US), as the viewer "
                       "writes them in that language.")
            .arg(vdr::viewerLanguages().join(QLatin1Char('|'))),
        QStringLiteral("LANG"), QStringLiteral("en_US"));
    parser.addOption(table);
    parser.addOption(routeOption);
    parser.addOption(language);
    parser.addOption(output);
    parser.addPositionalArgument(QStringLiteral("export"), QStringLiteral("the command"));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("the day file"),
                                 QStringLiteral("FILE"));
    if (const int exitNow = parseArguments(parser, QStringLiteral("export"), arguments); exitNow >= 0)
        return exitNow;
    if (parser.isSet(table) == parser.isSet(routeOption)) {
        printError(QStringLiteral("tavrin-vdr export: give exactly one of --table and --route"));
        return ExitUsage;
    }
    vdr::ExportTable which = vdr::ExportTable::Events;
    route::RouteFormat format = route::RouteFormat::Gpx;
    if (parser.isSet(routeOption) && !route::routeFormatFromName(parser.value(routeOption), &format)) {
        printError(QStringLiteral("tavrin-vdr export: --route must be one of: %1")
                       .arg(route::routeFormatNames().join(QStringLiteral(", "))));
        return ExitUsage;
    }
    if (parser.isSet(table) && !exportTableFromName(parser.value(table), &which)) {
        printError(QStringLiteral("tavrin-vdr export: --table must be one of: %1")
                       .arg(vdr::exportTableNames().join(QStringLiteral(", "))));
        return ExitUsage;
    }
    // The viewer's catalogue of the language, installed as the viewer installs it, so that the
    // table comes out byte for byte as the viewer exports it in that language.
    QTranslator catalogue;
    if (!vdr::loadViewerCatalogue(&catalogue, parser.value(language))) {
        printError(QStringLiteral("tavrin-vdr export: --lang must be one of: %1")
                       .arg(vdr::viewerLanguages().join(QStringLiteral(", "))));
        return ExitUsage;
    }
    QCoreApplication::installTranslator(&catalogue);
    QString path;
    QByteArray data;
    if (const int exitNow = readSingleDayFile(parser, QStringLiteral("export"), &path, &data); exitNow >= 0)
        return exitNow;
    const vdr::DayReport report = vdr::analyseDayFile(QFileInfo(path).fileName(), data);
    for (const QString &problem : report.problems())
        printError(QStringLiteral("%1: %2").arg(path, problem));
    QByteArray document;
    if (parser.isSet(table)) {
        document = vdr::csvDocument(vdr::exportRows(report, which, vdr::Texts::Shown));
    } else {
        const route::Route dayRoute = route::routeFromDay(report);
        if (dayRoute.outOfRange > 0)
            printError(QStringLiteral("%1: %2 %3 with a coordinate that names no place left out")
                           .arg(path)
                           .arg(dayRoute.outOfRange)
                           .arg(dayRoute.outOfRange == 1 ? QStringLiteral("fix") : QStringLiteral("fixes")));
        if (dayRoute.isEmpty()) {
            printError(QStringLiteral("%1: %2; no route written").arg(path, route::noPositionMessage()));
            return ExitProblem;
        }
        const QString title = report.name.ok() ? vdr::dayListText(report.name.day) : report.fileName;
        document = route::routeDocument(dayRoute, format, title);
    }

    if (!parser.isSet(output)) {
        std::fwrite(document.constData(), 1, size_t(document.size()), stdout);
        return std::fflush(stdout) == 0 ? ExitOk : ExitUsage;
    }
    // Written whole or not at all.
    QSaveFile file(parser.value(output));
    if (!file.open(QIODevice::WriteOnly) || file.write(document) != document.size() || !file.commit()) {
        printError(QStringLiteral("%1: cannot write: %2").arg(parser.value(output), file.errorString()));
        return ExitUsage;
    }
    return ExitOk;
}

} // namespace cli
