// dump: everything the viewer shows for a day, as text or as one JSON document.
#include "cli/cli.h"

#include <QCommandLineParser>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

namespace cli {

int runDump(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Prints everything the viewer shows for a day file: the name check and the day, "
                       "the checksum, each block with its status and decoded records, the per-driver "
                       "totals, the driver change list and the hour list of the fixes.\n"
                       "Exit 0 when the file was read (sound or not), 2 for a usage or read error."));
    parser.addHelpOption();
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print one JSON document."));
    parser.addOption(json);
    parser.addPositionalArgument(QStringLiteral("dump"), QStringLiteral("the command"));
    parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("the day file"),
                                 QStringLiteral("FILE"));
    if (!parser.parse(arguments)) {
        printError(QStringLiteral("tavrin-vdr dump: ") + parser.errorText());
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        printOut(parser.helpText());
        return ExitOk;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        printError(QStringLiteral("tavrin-vdr dump: give exactly one day file"));
        return ExitUsage;
    }
    QByteArray data;
    QString error;
    if (!readFile(files.first(), &data, &error)) {
        printError(QStringLiteral("%1: cannot read: %2").arg(files.first(), error));
        return ExitUsage;
    }
    const QJsonObject day = dayJson(vdr::analyseDayFile(QFileInfo(files.first()).fileName(), data));
    if (parser.isSet(json)) {
        const QByteArray bytes = QJsonDocument(day).toJson(QJsonDocument::Indented);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    } else
        printOut(dayText(day));
    return ExitOk;
}

} // namespace cli
