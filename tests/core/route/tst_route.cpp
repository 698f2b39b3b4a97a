// The route of a day: coordinates at full precision, runs split where the fix is lost or a
// location block ends, and the GPX and KML files read back by an independent consumer (gpsbabel).
#include "core/route/routeexport.h"
#include "core/vdr/dayreport.h"
#include "support/clirunner.h"
#include "support/fixtures.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

#include <time.h>

using namespace route;
using fixtures::kDay;

namespace {

// Fixes from a pattern, one character each: '1' a position, '0' status 0, 'x' a status with a
// latitude of 91 degrees, 't' a position with a stamp that is no date. Fix i of the pattern
// lies at 121 deg 30.3000+i min E, 25 deg 3.1234 min N, at 08:00:i local time.
QVector<vdrenc::LocationRecord> fixesOf(const QString &pattern, int first = 0)
{
    QVector<vdrenc::LocationRecord> fixes;
    for (int i = first; i < first + pattern.size(); ++i) {
        const QChar c = pattern.at(i - first);
        vdrenc::LocationRecord fix;
        fix.time = vdrenc::stamp(2024, c == 't' ? 13 : 1, 31, 8, 0, i);
        fix.longitude = vdrenc::coordinate(121, 30, 3000 + i);
        fix.latitude = c == 'x' ? vdrenc::coordinate(91, 0) : vdrenc::coordinate(25, 3, 1234);
        fix.height = qint16(-15 + i);
        fix.speed = quint8(40 + i);
        fix.status = c == '0' ? 0 : 1;
        fixes << fix;
    }
    return fixes;
}

// A day file of location blocks: '|' in the pattern ends a block, and a block ending in '!'
// fails its size check. The fixes are numbered across the blocks.
QByteArray dayOf(const QString &pattern)
{
    QVector<vdrenc::Block> blocks;
    int first = 0;
    for (QString part : pattern.split(QLatin1Char('|'))) {
        const bool broken = part.endsWith(QLatin1Char('!'));
        part.remove(QLatin1Char('!'));
        QByteArray data = vdrenc::locationBlock(fixesOf(part, first));
        if (broken)
            data.chop(1);
        blocks.append({vdrenc::LocationId, "DT_LOCATE_DATA", data});
        first += part.size();
    }
    return vdrenc::container(blocks);
}

Route routeOf(const QByteArray &day)
{
    return routeFromDay(vdr::analyseDayFile(vdrenc::dayFileName(kDay), day));
}

// gpsbabel's unicsv output: a header line, then one line per point (names are quoted and hold
// no commas here). Cell (row, column name).
struct Csv
{
    QStringList header;
    QList<QStringList> rows;
    explicit Csv(const QByteArray &text)
    {
        const QStringList lines = QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        header = lines.value(0).trimmed().split(QLatin1Char(','));
        for (int i = 1; i < lines.size(); ++i)
            rows << lines.at(i).trimmed().remove(QLatin1Char('"')).split(QLatin1Char(','));
    }
    QString at(int row, const QString &column) const { return rows.value(row).value(header.indexOf(column)); }
};

// Runs gpsbabel, which must be installed (tools/install-deps.sh), on a file.
QByteArray gpsbabel(const QStringList &arguments)
{
    QProcess process;
    process.start(QStringLiteral("gpsbabel"), arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning("gpsbabel %s: %s %s", qPrintable(arguments.join(' ')), qPrintable(process.errorString()),
                 process.readAllStandardError().constData());
        return {};
    }
    return process.readAllStandardOutput();
}

} // namespace

class TestRoute : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;

private slots:
    void initTestCase()
    {
        QVERIFY(dir.isValid());
        QVERIFY2(!QStandardPaths::findExecutable(QStringLiteral("gpsbabel")).isEmpty(),
                 "gpsbabel is missing: run tools/install-deps.sh");
        // Local time is eight hours ahead of UTC, without daylight saving, for this process
        // and the tool it starts.
        qputenv("TZ", "XST-8");
        tzset();
    }

    void coordinates_data()
    {
        QTest::addColumn<qint32>("value");
        QTest::addColumn<int>("limit");
        QTest::addColumn<double>("degrees");
        QTest::addColumn<bool>("inRange");
        QTest::newRow("121 30.3000 E") << 121303000 << 180 << 121.505 << true;
        QTest::newRow("121 30.3000 W") << -121303000 << 180 << -121.505 << true;
        QTest::newRow("-0 00.0001") << -1 << 90 << -1 / 600000.0 << true;
        QTest::newRow("1 59.9999") << 1599999 << 90 << 1 + 59.9999 / 60 << true;
        QTest::newRow("minute 60") << 25600000 << 90 << 26.0 << false;
        QTest::newRow("90 N") << 90000000 << 90 << 90.0 << true;
        QTest::newRow("90 S") << -90000000 << 90 << -90.0 << true;
        QTest::newRow("90 00.0001 N") << 90000001 << 90 << 90 + 1 / 600000.0 << false;
        QTest::newRow("180 W") << -180000000 << 180 << -180.0 << true;
        QTest::newRow("180 00.0001 E") << 180000001 << 180 << 180 + 1 / 600000.0 << false;
        QTest::newRow("lowest value")
            << std::numeric_limits<qint32>::min() << 180 << -(2147 + 48.3648 / 60) << false;
    }

    void coordinates()
    {
        QFETCH(qint32, value);
        QFETCH(int, limit);
        QFETCH(double, degrees);
        QFETCH(bool, inRange);
        QVERIFY2(qAbs(preciseDegrees(value) - degrees) < 1e-9,
                 qPrintable(QString::number(preciseDegrees(value), 'f', 10)));
        QCOMPARE(coordinateInRange(value, limit), inRange);
    }

    void runs_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QList<int>>("runSizes");
        QTest::addColumn<int>("withoutFix");
        QTest::addColumn<int>("outOfRange");
        QTest::newRow("no fixes") << "" << QList<int>{} << 0 << 0;
        QTest::newRow("none positioned") << "000" << QList<int>{} << 3 << 0;
        QTest::newRow("one run") << "111" << QList<int>{3} << 0 << 0;
        QTest::newRow("status 0 breaks") << "11011" << QList<int>{2, 2} << 1 << 0;
        QTest::newRow("gaps at the ends") << "00110" << QList<int>{2} << 3 << 0;
        QTest::newRow("single fixes") << "1001" << QList<int>{1, 1} << 2 << 0;
        QTest::newRow("no place breaks") << "11x1" << QList<int>{2, 1} << 0 << 1;
        QTest::newRow("no time keeps the point") << "1t1" << QList<int>{3} << 0 << 0;
        // Every sound location block in file order; runs do not join across blocks, and a
        // block that fails its size check adds nothing.
        QTest::newRow("blocks") << "101|11!|11" << QList<int>{1, 1, 2} << 1 << 0;
    }

    void runs()
    {
        QFETCH(QString, pattern);
        QFETCH(QList<int>, runSizes);
        QFETCH(int, withoutFix);
        QFETCH(int, outOfRange);
        const Route r = routeOf(dayOf(pattern));
        QList<int> sizes;
        for (const RouteRun &run : r.runs)
            sizes << run.size();
        QCOMPARE(sizes, runSizes);
        QCOMPARE(r.withoutFix, withoutFix);
        QCOMPARE(r.outOfRange, outOfRange);

        // Every point is its own fix, in record order; the fixes of a broken block are not read.
        QString fixes;
        for (const QString &block : pattern.split(QLatin1Char('|')))
            fixes += block.endsWith(QLatin1Char('!')) ? QString(block.size() - 1, QLatin1Char('-')) : block;
        QCOMPARE(r.fixCount, fixes.size() - fixes.count(QLatin1Char('-')));
        int fix = 0;
        for (const RouteRun &run : r.runs) {
            for (const RoutePoint &p : run) {
                while (QStringLiteral("0x-").contains(fixes.at(fix)))
                    ++fix;
                QVERIFY(qAbs(p.longitude - (121 + (30.3 + fix / 10000.0) / 60)) < 1e-9);
                QCOMPARE(p.height, (fix - 15) / 10.0);
                QCOMPARE(p.speed, 40 + fix);
                QCOMPARE(p.time, fixes.at(fix) == 't' ? QDateTime() : fixtures::at(8, 0, fix));
                ++fix;
            }
        }
    }

    // An export is refused or fails without leaving a file, and an earlier file stays as it was.
    void exportWholeOrNothing_data()
    {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("outputIsFolder");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        auto row = [](const char *tag, const char *pattern, const QStringList &options, int exitCode,
                      const QString &message, bool outputIsFolder = false) {
            QTest::newRow(tag) << pattern << options << outputIsFolder << exitCode << message;
        };
        const QString noPosition = "the day has no fix with a position; no route written";
        const QString exactlyOne = "give exactly one of --table and --route";
        row("no position, gpx", "000", {"--route", "gpx"}, 1, noPosition);
        row("no position, kml", "", {"--route", "kml"}, 1, noPosition);
        row("table and route", "11", {"--route", "gpx", "--table", "location"}, 2, exactlyOne);
        row("neither", "11", {}, 2, exactlyOne);
        row("unknown format", "11", {"--route", "xml"}, 2, "--route must be one of: gpx, kml");
        row("cannot write", "11", {"--route", "kml"}, 2, "cannot write", true);
    }

    void exportWholeOrNothing()
    {
        QFETCH(QString, pattern);
        QFETCH(QStringList, options);
        QFETCH(bool, outputIsFolder);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString folder = dir.path() + "/refused-" + QTest::currentDataTag();
        const QString day = testsupport::writeFile(folder, vdrenc::dayFileName(kDay), dayOf(pattern));
        const QString out = folder + "/out";
        if (outputIsFolder)
            QVERIFY(QDir().mkpath(out + "/x"));
        else
            testsupport::writeFile(folder, "out", "earlier");

        const CliRun run = runCli(QStringList{"export", day, "-o", out} + options);
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY2(run.errText().contains(message), qPrintable(run.errText()));
        QVERIFY(run.out.isEmpty());
        if (!outputIsFolder)
            QCOMPARE(testsupport::readFile(out), QByteArray("earlier"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), outputIsFolder ? 1 : 2);

        // The library's writer refuses and fails alike.
        if (exitCode == 1 || outputIsFolder) {
            QString error;
            QVERIFY(!saveRoute(routeOf(dayOf(pattern)), RouteFormat::Kml, "day", out, &error));
            QVERIFY(!error.isEmpty());
            if (!outputIsFolder)
                QCOMPARE(testsupport::readFile(out), QByteArray("earlier"));
        }
    }

    // The tool's GPX and KML, read back by gpsbabel, agree with the route: the number of
    // points and of runs, the first and the last position and time (UTC).
    void gpsbabelReadsExport_data()
    {
        QTest::addColumn<QString>("format");
        QTest::addColumn<QByteArray>("dayBytes");
        QTest::addColumn<QStringList>("firstAndLast"); // hand-worked: lat, lon, date, time twice

        // Runs of 2 and 3 fixes; the first at 00:10 local time (16:10 UTC the day before), the
        // last south-west at 23:59:59.
        QVector<vdrenc::LocationRecord> fixes = fixesOf("110111");
        fixes.first().time = vdrenc::stamp(2024, 1, 31, 0, 10, 0);
        fixes.last().time = vdrenc::stamp(2024, 1, 31, 23, 59, 59);
        fixes.last().longitude = vdrenc::coordinate(-70, 39, 5678);
        fixes.last().latitude = vdrenc::coordinate(-33, 26, 9);
        const QByteArray encoded =
            vdrenc::container({{vdrenc::LocationId, "DT_LOCATE_DATA", vdrenc::locationBlock(fixes)}});
        const QStringList worked{"25.052057",  "121.505000", "2024/01/30", "16:10:00",
                                 "-33.433348", "-70.659463", "2024/01/31", "15:59:59"};
        const QByteArray sample = vdrenc::sampleDay(kDay);
        QTest::newRow("gpx") << "gpx" << encoded << worked;
        QTest::newRow("kml") << "kml" << encoded << worked;
        QTest::newRow("sample day, gpx") << "gpx" << sample << QStringList();
        QTest::newRow("sample day, kml") << "kml" << sample << QStringList();
    }

    void gpsbabelReadsExport()
    {
        QFETCH(QString, format);
        QFETCH(QByteArray, dayBytes);
        QFETCH(QStringList, firstAndLast);
        const QString folder = dir.path() + "/babel-" + QTest::currentDataTag();
        const QString day = testsupport::writeFile(folder, vdrenc::dayFileName(kDay), dayBytes);
        const QString out = folder + "/route." + format;
        const CliRun run = runCli({"export", day, "--route", format, "-o", out});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.err.isEmpty(), run.err.constData());

        const Route model = routeOf(dayBytes);
        QVERIFY(model.runs.size() > 1);
        for (const RouteRun &r : model.runs)
            QVERIFY(r.size() > 1); // a KML line needs two points, so every point is on a track

        const bool gpx = format == "gpx";
        const Csv track(gpsbabel({"-t", "-i", format, "-f", out, "-o", "unicsv,utc=0", "-F", "-"}));
        QCOMPARE(track.rows.size(), model.pointCount());
        // GPX keeps one segment per run; each KML line becomes a track of its own.
        const QByteArray asGpx = gpsbabel({"-t", "-i", format, "-f", out, "-o", "gpx", "-F", "-"});
        QCOMPARE(asGpx.count(gpx ? "<trkseg>" : "<trk>"), model.runs.size());

        // Times come with the points in GPX, with the start and end placemarks in KML.
        const Csv timed(gpx ? QByteArray()
                            : gpsbabel({"-w", "-i", format, "-f", out, "-o", "unicsv,utc=0", "-F", "-"}));
        const Csv &times = gpx ? track : timed;
        QCOMPARE(times.at(0, "Name"), gpx ? QString() : QStringLiteral("Start"));
        QCOMPARE(times.at(times.rows.size() - 1, "Name"), gpx ? QString() : QStringLiteral("End"));

        for (const bool last : {false, true}) {
            const RoutePoint &p = last ? model.last() : model.first();
            const int row = last ? track.rows.size() - 1 : 0, timedRow = last ? times.rows.size() - 1 : 0;
            const QStringList got{track.at(row, "Latitude"), track.at(row, "Longitude"),
                                  times.at(timedRow, "Date"), times.at(timedRow, "Time")};
            QVERIFY2(qAbs(got[0].toDouble() - p.latitude) < 1e-6 &&
                         qAbs(got[1].toDouble() - p.longitude) < 1e-6,
                     qPrintable(got.join(' ')));
            QCOMPARE(got.mid(2), QStringList({p.time.toUTC().toString("yyyy/MM/dd"),
                                              p.time.toUTC().toString("hh:mm:ss")}));
            if (!firstAndLast.isEmpty())
                QCOMPARE(got, firstAndLast.mid(last ? 4 : 0, 4));
        }
    }
};

QTEST_GUILESS_MAIN(TestRoute)
#include "tst_route.moc"
