// tavrin-make-sample OUTDIR [--start yyyy-MM-dd] [--days N] [--seed S]
// Writes synthetic full recorder days as OUTDIR/DyyyyMMdd__.vdr, by default the bundled sample
// day 2024-01-31.
#include "vdrencoder.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSaveFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tavrin-make-sample"));
    QTextStream err(stderr), out(stdout);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes synthetic VDR day files."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("outdir"),
                                 QStringLiteral("Folder to write to (created if missing)."));
    const QCommandLineOption startOption(QStringLiteral("start"), QStringLiteral("First day, yyyy-MM-dd."),
                                         QStringLiteral("date"), QStringLiteral("2024-01-31"));
    const QCommandLineOption daysOption(QStringLiteral("days"), QStringLiteral("Number of consecutive days."),
                                        QStringLiteral("n"), QStringLiteral("1"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Generator seed."),
                                        QStringLiteral("s"), QStringLiteral("1"));
    parser.addOptions({startOption, daysOption, seedOption});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1) {
        err << "usage: tavrin-make-sample OUTDIR [--start yyyy-MM-dd] [--days N] [--seed S]\n";
        return 2;
    }
    const QDate start = QDate::fromString(parser.value(startOption), QStringLiteral("yyyy-MM-dd"));
    bool daysOk = false, seedOk = false;
    const int days = parser.value(daysOption).toInt(&daysOk);
    const quint32 seed = parser.value(seedOption).toUInt(&seedOk);
    if (!start.isValid() || !daysOk || days < 1 || days > 3660 || !seedOk ||
        start.addDays(days - 1).year() > 9999) {
        err << "tavrin-make-sample: need a valid --start date, --days between 1 and 3660 and a "
               "non-negative --seed\n";
        return 2;
    }

    const QString outDir = args.first();
    if (!QDir().mkpath(outDir)) {
        err << "tavrin-make-sample: cannot create " << outDir << "\n";
        return 1;
    }
    const QDir dir(outDir);
    for (int i = 0; i < days; ++i) {
        const QDate day = start.addDays(i);
        const QString path = dir.filePath(vdrenc::dayFileName(day));
        const QByteArray bytes = vdrenc::sampleDay(day, seed);
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
            err << "tavrin-make-sample: cannot write " << path << ": " << file.errorString() << "\n";
            return 1;
        }
        out << path << " (" << bytes.size() << " bytes)\n";
    }
    return 0;
}
