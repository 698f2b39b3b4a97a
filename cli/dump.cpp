// dump: everything the viewer shows for a day, as text or as one JSON document.
#include "cli/cli.h"

#include "core/vdr/dayjson.h"

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
    if (const int exitNow = parseArguments(parser, QStringLiteral("dump"), arguments); exitNow >= 0)
        return exitNow;
    QString path;
    QByteArray data;
    if (const int exitNow = readSingleDayFile(parser, QStringLiteral("dump"), &path, &data); exitNow >= 0)
        return exitNow;
    const QJsonObject day = vdr::dayJson(vdr::analyseDayFile(QFileInfo(path).fileName(), data));
    if (parser.isSet(json)) {
        const QByteArray bytes = QJsonDocument(day).toJson(QJsonDocument::Indented);
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    } else
        printOut(vdr::dayText(day));
    return ExitOk;
}

} // namespace cli
