// tavrin-vdr download around the download session: what it says on standard error and its
// exit code for each way a download ends, against the recorder simulator and a recorder
// played by the test. The protocol itself is the session's test (tests/serial).
#include "serial/ptydevice.h"
#include "serial/recordersim.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using testsupport::readFile;

class TestCliDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void runs_data();
    void runs();

private:
    QTemporaryDir served;
    const QDate first{2024, 1, 30};
};

void TestCliDownload::initTestCase()
{
    // the first and last of three days; the middle one the recorder lacks, or has too large
    for (const int i : {0, 2}) {
        const QDate day = first.addDays(i);
        const QString name = day.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr");
        const QByteArray data = vdrenc::sampleDay(day, quint32(i + 1)).left(3000 + 777 * i);
        testsupport::writeFile(served.path() + "/gap", name, data);
        testsupport::writeFile(served.path() + "/large", name, data);
    }
    testsupport::writeFile(served.path() + "/large", QStringLiteral("D20240131__.vdr"),
                           QByteArray(32 * 1024 * 1024 + 1000, 'x'));
    testsupport::writeFile(served.path() + "/today",
                           QDate::currentDate().toString(QStringLiteral("DyyyyMMdd__")) +
                               QStringLiteral(".vdr"),
                           "recent hours of today");
}

void TestCliDownload::runs_data()
{
    QTest::addColumn<QString>("folder"); // served by the simulator; none: a played recorder
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("said");
    QTest::addColumn<QStringList>("files"); // in the output folder at the end
    const QStringList range{"--from", "2024-01-30", "--to", "2024-02-01", "--timeout", "5"};
    const QString today =
        QDate::currentDate().toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr");
    const QString failed = QStringLiteral("download failed at day 2024/01/30: ");
    // clang-format off
    // a day downloaded earlier stays as it is
    QTest::newRow("day without data and bad checksums")
        << "gap" << QStringList{"--package", "300", "--bad-checksum", "3"} << range << 0
        << QStringList{"2024/01/30: wrote", "2024/01/31: the recorder has no data for the day", "2024/02/01: wrote",
                       "has checksum", "packages"}
        << QStringList{"D20240105__.vdr", "D20240130__.vdr", "D20240201__.vdr"};
    QTest::newRow("recent hours") << "today" << QStringList{"--package", "8"}
                                  << QStringList{"--recent", "3", "--timeout", "5"} << 0 << QStringList{": wrote"}
                                  << QStringList{"D20240105__.vdr", today};
    QTest::newRow("day too large")
        << "large" << QStringList{"--package", "65535"} << range << 1
        << QStringList{"2024/01/31: the recorder's file passed 32 MiB, nothing written",
                       "download failed: these days could not be written: 2024/01/31"}
        << QStringList{"D20240105__.vdr", "D20240130__.vdr", "D20240201__.vdr"};
    QTest::newRow("day not writable")
        << "gap" << QStringList() << QStringList{"--from", "2024-01-30", "--to", "2024-01-30"} << 1
        << QStringList{"2024/01/30: cannot write D20240130__.vdr: ",
                       "download failed: these days could not be written: 2024/01/30"}
        << QStringList{"D20240105__.vdr"};
    QTest::newRow("short error frame") << "gap" << QStringList{"--error-frame"} << range << 1
        << QStringList{failed + "the recorder answered with its error frame"} << QStringList{"D20240105__.vdr"};
    QTest::newRow("garbage") << "gap" << QStringList{"--garbage"} << range << 1
        << QStringList{failed + "the recorder sent bytes that are no frame"} << QStringList{"D20240105__.vdr"};
    QTest::newRow("recorder silent") << QString() << QStringList() << QStringList{"--from", "2024-01-30", "--to",
        "2024-01-31", "--timeout", "1"} << 1 << QStringList{failed + "the recorder stopped answering for 1 s"}
        << QStringList{"D20240105__.vdr"};
    QTest::newRow("request not sent") << QString() << QStringList{"held"} << range << 1
        << QStringList{failed + "cannot write to the serial port: the request was not sent (is the line held?)"}
        << QStringList{"D20240105__.vdr"};
    // clang-format on
}

void TestCliDownload::runs()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, switches);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, said);
    QFETCH(QStringList, files);
    Simulator sim;
    PtyDevice played; // a recorder that never answers
    if (folder.isEmpty()) {
        if (switches.contains("held"))
            played.holdOutput();
    } else {
        QVERIFY(sim.start(served.path() + QLatin1Char('/') + folder, switches));
    }
    QTemporaryDir out;
    testsupport::writeFile(out.path(), QStringLiteral("D20240105__.vdr"), "older day");
    if (QTest::currentDataTag() == QByteArray("day not writable"))
        QVERIFY(QDir().mkpath(out.path() + QStringLiteral("/D20240130__.vdr")));

    QProcess tool;
    tool.start(QStringLiteral(TAVRIN_VDR),
               QStringList{"download", "--port", folder.isEmpty() ? played.path() : sim.devicePath, "-o",
                           out.path()} +
                   arguments);
    // the event loop keeps going meanwhile: the played recorder reads what it is sent
    QElapsedTimer timer;
    timer.start();
    while (tool.state() != QProcess::NotRunning && timer.elapsed() < 60000)
        QTest::qWait(5);
    QCOMPARE(tool.state(), QProcess::NotRunning);
    const QString err = QString::fromUtf8(tool.readAllStandardError());
    QVERIFY2(tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == exitCode, qPrintable(err));
    for (const QString &text : said)
        QVERIFY2(err.contains(text), qPrintable(text + QStringLiteral("\n--\n") + err));
    // the time limit, and a held line said after the write deadline instead
    if (folder.isEmpty())
        QVERIFY2(timer.elapsed() >= 900 && timer.elapsed() < 10000,
                 qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(QDir(out.path()).entryList(QDir::Files), files);
    QCOMPARE(readFile(out.path() + QStringLiteral("/D20240105__.vdr")), QByteArray("older day"));
    for (const QString &name : files.mid(1))
        QCOMPARE(readFile(out.path() + QLatin1Char('/') + name),
                 readFile(served.path() + QLatin1Char('/') + folder + QLatin1Char('/') + name));
}

QTEST_GUILESS_MAIN(TestCliDownload)
#include "tst_clidownload.moc"
