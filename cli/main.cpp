// tavrin-vdr: checks, dumps, exports and downloads day files without a window.
#include "cli/cli.h"

#include "core/platform/platform.h"
#include "core/platform/version.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// The decoders write diagnostic lines to the debug output, as the viewer's log wants them;
// the tool's standard error is for its own messages only.
void quietHandler(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    std::fprintf(stderr, "%s\n", qUtf8Printable(message));
}

const char kUsage[] =
    "Usage: tavrin-vdr COMMAND [OPTIONS]\n"
    "\n"
    "Commands:\n"
    "  check FILE|FOLDER...       one line per day file: sound, or every problem found\n"
    "  dump FILE [--json]         everything the viewer shows for the day\n"
    "  export FILE (--table NAME [--lang en_US|zh_TW] | --route gpx|kml) [-o OUT]\n"
    "                             a page's table as CSV (events, speed, driver, technology,\n"
    "                             location), or the day's route as GPX or KML\n"
    "  download --port DEVICE (--from yyyy-MM-dd --to yyyy-MM-dd | --recent HOURS) [-o DIR]\n"
    "                             fetch day files from a recorder over the serial link\n"
    "  report PATH... [--from yyyy-MM-dd --to yyyy-MM-dd] [--rules FILE] [--speed-limit KMH]\n"
    "         [--json | --csv]    many days per vehicle and driver, with the working-time checks\n"
    "\n"
    "Run 'tavrin-vdr COMMAND --help' for the options of a command.\n"
    "Exit codes: 0 success, 1 a file is not sound, a download failed, a day has no route or a\n"
    "report has findings, 2 usage or read error.\n";

} // namespace

int main(int argc, char *argv[])
{
    platform::settleLocalTimeZone();
    qInstallMessageHandler(quietHandler);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavrin-vdr"));

    const QStringList arguments = app.arguments().mid(1);
    const QString command = arguments.value(0);
    if (command == QLatin1String("check"))
        return cli::runCheck(arguments);
    if (command == QLatin1String("dump"))
        return cli::runDump(arguments);
    if (command == QLatin1String("export"))
        return cli::runExport(arguments);
    if (command == QLatin1String("download"))
        return cli::runDownload(arguments);
    if (command == QLatin1String("report"))
        return cli::runReport(arguments);
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        std::fputs(kUsage, stdout);
        return cli::ExitOk;
    }
    if (command == QLatin1String("--version")) {
        cli::printOut(QStringLiteral("tavrin-vdr %1\n").arg(version::text()));
        return cli::ExitOk;
    }
    if (command.isEmpty())
        cli::printError(QStringLiteral("tavrin-vdr: no command given"));
    else
        cli::printError(QStringLiteral("tavrin-vdr: unknown command '%1'").arg(command));
    std::fputs(kUsage, stderr);
    return cli::ExitUsage;
}
