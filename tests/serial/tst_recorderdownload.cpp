// Downloads from the recorder simulator over a pseudo-terminal with the real serial port:
// the day files written must be the served files, byte for byte, however the recorder's
// frames are cut up or run together.
#include "app/mainwindow.h"
#include "app/ztpopwaitingwidget.h"
#include "serial/recenttimewidget.h"
#include "serial/ztserialportdialog.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QComboBox>
#include <QLabel>
#include <QElapsedTimer>
#include <QTimer>

#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <functional>

namespace {

QString translated(const char *text)
{
    return QCoreApplication::translate("MainWindow", text);
}

// The simulator as a child process; its first output line is the device path.
class Simulator
{
public:
    bool start(const QString &dir, const QStringList &switches)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(TAVRIN_RECORDER_SIM),
                      QStringList{QStringLiteral("--dir"), dir} + switches);
        if (!process.waitForStarted(5000))
            return false;
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        devicePath = QString::fromLocal8Bit(process.readLine()).trimmed();
        return devicePath.startsWith(QLatin1Char('/'));
    }
    ~Simulator()
    {
        process.closeWriteChannel(); // the simulator ends when its input closes
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }
    QString devicePath;

private:
    QProcess process;
};

QString overlayText(const MainWindow &w)
{
    return w.waitingOverlay() ? w.waitingOverlay()->text() : QString();
}

bool overlayHidden(const MainWindow &w)
{
    return !w.waitingOverlay() || w.waitingOverlay()->isHidden();
}

// Runs the event loop until the condition holds. Unlike QTRY_VERIFY, which sleeps between
// its checks, this answers every frame at once, as the program's own event loop does.
bool waitUntil(const std::function<bool()> &done, int timeoutMs)
{
    QTimer tick;
    tick.start(20);
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return done();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestRecorderDownload : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void threeDays_data();
    void threeDays();
    void recentHours();
    void recorderErrorFrame();
    void garbageIsLinkError();

private:
    QTemporaryDir served;
    QTemporaryDir small;
    const QDate first{2024, 1, 30};
};

void TestRecorderDownload::initTestCase()
{
    // full sample days, and small days for the slow piecewise rows
    for (int i = 0; i < 3; ++i) {
        const QDate day = first.addDays(i);
        const QString name = day.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral("A.vdr");
        testsupport::writeFile(served.path(), name, vdrenc::sampleDay(day, quint32(i + 1)));
        testsupport::writeFile(small.path(), name,
                               vdrenc::sampleDay(day, quint32(i + 1)).left(3000 + 777 * i));
    }
    testsupport::writeFile(small.path() + QStringLiteral("/gap"), QStringLiteral("D20240130__.vdr"),
                           readAll(small.path() + QStringLiteral("/D20240130__A.vdr")));
    testsupport::writeFile(small.path() + QStringLiteral("/gap"), QStringLiteral("D20240201__.vdr"),
                           readAll(small.path() + QStringLiteral("/D20240201__A.vdr")));
    testsupport::writeFile(small.path() + QStringLiteral("/today"),
                           QDate::currentDate().toString(QStringLiteral("DyyyyMMdd__")) +
                               QStringLiteral(".vdr"),
                           "recent hours of today");
}

void TestRecorderDownload::threeDays_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<int>("badChecksums"); // red lines expected
    const QString full = served.path();
    const QString few = small.path();
    QTest::newRow("full days") << full << QStringList() << 0;
    QTest::newRow("full days, large packages") << full << QStringList{"--package", "65535"} << 0;
    QTest::newRow("coalesced") << full << QStringList{"--coalesce"} << 0;
    QTest::newRow("split in 5-byte pieces")
        << few << QStringList{"--package", "200", "--split", "5", "--pause-us", "100"} << 0;
    QTest::newRow("split and coalesced")
        << few << QStringList{"--package", "300", "--split", "17", "--coalesce"} << 0;
    // each requested day clears the log page: only the last day's red lines are left
    QTest::newRow("bad checksum every 7th frame")
        << few << QStringList{"--package", "100", "--bad-checksum", "7"} << 5;
    QTest::newRow("middle day without data")
        << few + QStringLiteral("/gap") << QStringList{"--package", "500"} << 0;
}

void TestRecorderDownload::threeDays()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, switches);
    QFETCH(int, badChecksums);
    Simulator sim;
    QVERIFY(sim.start(folder, switches));
    MainWindow w;
    w.on_actionDebug_triggered(true);
    ZtSerialPortDialog dialog(&w);
    QVERIFY(w.connectSerialPort(dialog, sim.devicePath));
    testsupport::DebugCapture debug;
    testsupport::ModalCloser closer;
    const QDate last = first.addDays(2);
    w.startRangeDownload(first, last);
    QVERIFY(waitUntil([&] { return w.downloadState().currentDate() > last; }, 60000));
    // read at once: opening the first day 100 ms after the end clears the log page again
    const QString log = w.findChild<QTextBrowser *>("debugtextBrowser")->toPlainText();

    auto *list = w.findChild<QComboBox *>("date_comboBox");
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->itemText(2), QStringLiteral("2024/02/01"));
    QCOMPARE(debug.lines().count(QStringLiteral("E_FT_CMD_STATUS_MAX")), 3);
    QDir out(w.workingDirectory());
    const bool gap = folder.endsWith(QLatin1String("/gap"));
    for (int i = 0; i < 3; ++i) {
        const QDate day = first.addDays(i);
        const QString written =
            out.filePath(day.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr"));
        if (gap && i == 1) {
            QVERIFY(!QFileInfo::exists(written));
            continue;
        }
        const QString source =
            gap ? folder + day.toString(QStringLiteral("/DyyyyMMdd__")) + QStringLiteral(".vdr")
                : folder + day.toString(QStringLiteral("/DyyyyMMdd__")) + QStringLiteral("A.vdr");
        QVERIFY2(readAll(written) == readAll(source), qPrintable(written));
    }
    QCOMPARE(out.entryList(QDir::Files | QDir::Hidden).size(), gap ? 2 : 3);
    // the first day of the list is opened at the end
    QTRY_COMPARE(w.findChild<QLabel *>("date_value")->text(), first.toString(QStringLiteral("yyyy/MM/dd")));
    QTRY_VERIFY(overlayHidden(w));
    QVERIFY(w.isSerialPortOpen());
    if (badChecksums)
        QVERIFY(log.count(QStringLiteral("Error : Check sum")) >= badChecksums);
    else
        QVERIFY(!log.contains(QStringLiteral("Error : Check sum")));
}

void TestRecorderDownload::recentHours()
{
    Simulator sim;
    QVERIFY(sim.start(small.path() + QStringLiteral("/today"), {"--package", "8"}));
    MainWindow w;
    ZtSerialPortDialog dialog(&w);
    QVERIFY(w.connectSerialPort(dialog, sim.devicePath));
    w.on_recenttime_clicked();
    w.recentTimeWindow()->on_buttonBox_accepted();
    const QDate today = QDate::currentDate();
    QVERIFY(waitUntil([&] { return w.downloadState().currentDate() > today; }, 10000));
    QCOMPARE(QDir(w.workingDirectory()).entryList(QDir::Files),
             QStringList{today.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr")});
    QCOMPARE(readAll(w.workingDirectory() + today.toString(QStringLiteral("/DyyyyMMdd__")) +
                     QStringLiteral(".vdr")),
             QByteArray("recent hours of today"));
    auto *list = w.findChild<QComboBox *>("date_comboBox");
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->itemText(0), today.toString(QStringLiteral("yyyy/MM/dd")));
}

void TestRecorderDownload::recorderErrorFrame()
{
    Simulator sim;
    QVERIFY(sim.start(small.path(), {"--error-frame"}));
    MainWindow w;
    ZtSerialPortDialog dialog(&w);
    QVERIFY(w.connectSerialPort(dialog, sim.devicePath));
    w.startRangeDownload(first, first);
    QTRY_COMPARE(overlayText(w), translated("Serial port error. Please try again later...."));
    QVERIFY(w.isSerialPortOpen());
    QTRY_VERIFY_WITH_TIMEOUT(overlayHidden(w), 4000);
    // asked again, the recorder serves the day, read behind nothing of the error frame
    w.startRangeDownload(first, first);
    QVERIFY(waitUntil([&] { return w.downloadState().currentDate() > first; }, 10000));
    QCOMPARE(
        readAll(w.workingDirectory() + first.toString(QStringLiteral("/DyyyyMMdd__")) +
                QStringLiteral(".vdr")),
        readAll(small.path() + first.toString(QStringLiteral("/DyyyyMMdd__")) + QStringLiteral("A.vdr")));
}

void TestRecorderDownload::garbageIsLinkError()
{
    Simulator sim;
    QVERIFY(sim.start(small.path(), {"--garbage"}));
    MainWindow w;
    ZtSerialPortDialog dialog(&w);
    QVERIFY(w.connectSerialPort(dialog, sim.devicePath));
    w.startRangeDownload(first, first.addDays(2));
    QTRY_VERIFY(!w.isSerialPortOpen());
    QCOMPARE(overlayText(w), translated("Serial port error. Please check Serial port...."));
    QCOMPARE(w.findChild<QPushButton *>("rs232")->text(), translated("Connet RS232..."));
    QVERIFY(w.findChild<QPushButton *>("date")->isHidden());
    QVERIFY(w.findChild<QPushButton *>("importTar")->isEnabled());
    QVERIFY(!QFileInfo::exists(w.workingDirectory()));
    QTRY_VERIFY_WITH_TIMEOUT(overlayHidden(w), 4000);
}

QTEST_MAIN(TestRecorderDownload)
#include "tst_recorderdownload.moc"
