// check: one line per day file, "sound" or every problem found.
#include "cli/cli.h"

#include "core/import/dayimport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

namespace cli {

int runCheck(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Checks day files: the name, the checksum, the walk over the blocks and each "
                       "block's size rule. A folder stands for the *.vdr files at its top level.\n"
                       "Prints one line per file: PATH: sound, or PATH: every problem found.\n"
                       "Exit 0 when every file is sound, 1 when any is not, 2 for a usage or read error (a "
                       "folder without day files counts as one)."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("check"), QStringLiteral("the command"));
    parser.addPositionalArgument(QStringLiteral("paths"), QStringLiteral("day files or folders"),
                                 QStringLiteral("FILE|FOLDER..."));
    if (const int exitNow = parseArguments(parser, QStringLiteral("check"), arguments); exitNow >= 0)
        return exitNow;
    const QStringList paths = parser.positionalArguments();
    if (paths.isEmpty()) {
        printError(QStringLiteral("tavrin-vdr check: no file or folder given"));
        return ExitUsage;
    }

    int exitCode = ExitOk;
    auto worsen = [&exitCode](int code) { exitCode = qMax(exitCode, code); };

    QStringList files;
    for (const QString &path : paths) {
        const QFileInfo info(path);
        if (info.isDir()) {
            const dayimport::FolderListing listing = dayimport::listFolder(path, dayimport::Links::Follow);
            if (listing.vdrFiles.isEmpty()) {
                printError(QStringLiteral("%1: no .vdr files in the folder").arg(path));
                worsen(ExitUsage);
            }
            for (const QString &name : listing.vdrFiles)
                files << QDir(path).filePath(name);
        } else {
            files << path;
        }
    }

    QString out;
    for (const QString &path : files) {
        QByteArray data;
        QString error;
        if (!readFile(path, &data, &error)) {
            printOut(out);
            out.clear();
            printError(QStringLiteral("%1: cannot read: %2").arg(path, error));
            worsen(ExitUsage);
            continue;
        }
        const QStringList problems = vdr::analyseDayFile(QFileInfo(path).fileName(), data).problems();
        if (problems.isEmpty()) {
            out += path + QStringLiteral(": sound\n");
        } else {
            out += path + QStringLiteral(": ") + problems.join(QStringLiteral("; ")) + QLatin1Char('\n');
            worsen(ExitProblem);
        }
    }
    printOut(out);
    return exitCode;
}

} // namespace cli
