// Downloads from the recorder simulator over a pseudo-terminal with the real serial port:
// the day files written must be the served files, byte for byte, however the recorder's
// frames are cut up or run together; a day the recorder lacks or that is too large to keep
// leaves no file and no date list entry, and the download goes on.
#include "app/mainwindow.h"
#include "app/ztpopwaitingwidget.h"
#include "serial/download.h"
#include "serial/recenttimewidget.h"
#include "serial/ztserialportdialog.h"

#include "serial/recordersim.h"
#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>
#include <functional>

using testsupport::mwTr;
using testsupport::readFile;

namespace {

// "/D20240131__" + tail: a day file's name below a folder.
QString dayPath(const QDate &day, const char *tail = ".vdr")
{
    return day.toString(QStringLiteral("/DyyyyMMdd__")) + QLatin1String(tail);
}

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
        const QByteArray data = vdrenc::sampleDay(day, quint32(i + 1));
        testsupport::writeFile(served.path(), dayPath(day, "A.vdr").mid(1), data);
        testsupport::writeFile(small.path(), dayPath(day, "A.vdr").mid(1), data.left(3000 + 777 * i));
        if (i != 1)
            testsupport::writeFile(small.path() + "/gap", dayPath(day).mid(1), data.left(3000 + 777 * i));
        testsupport::writeFile(small.path() + "/large", dayPath(day).mid(1),
                               i == 1 ? QByteArray(serial::kMaxDayFileSize + 1000, 'x')
                                      : data.left(3000 + 777 * i));
    }
    testsupport::writeFile(small.path() + "/today", dayPath(QDate::currentDate()).mid(1),
                           "recent hours of today");
}

void TestRecorderDownload::threeDays_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QStringList>("switches");
    QTest::addColumn<int>("badChecksums"); // red lines expected
    QTest::addColumn<QByteArray>("message"); // about the middle day, which then has no file
    const QString full = served.path();
    const QString few = small.path();
    // clang-format off
    QTest::newRow("full days") << full << QStringList() << 0 << QByteArray();
    QTest::newRow("coalesced") << full << QStringList{"--coalesce"} << 0 << QByteArray();
    QTest::newRow("split in 5-byte pieces")
        << few << QStringList{"--package", "200", "--split", "5", "--pause-us", "100"} << 0 << QByteArray();
    QTest::newRow("split and coalesced")
        << few << QStringList{"--package", "300", "--split", "17", "--coalesce"} << 0 << QByteArray();
    // each requested day clears the log page: only the last day's red lines are left
    QTest::newRow("bad checksum every 7th frame")
        << few << QStringList{"--package", "100", "--bad-checksum", "7"} << 5 << QByteArray();
    QTest::newRow("middle day without data")
        << few + QStringLiteral("/gap") << QStringList{"--package", "500"} << 0
        << QByteArray("These days were not downloaded: %1");
    // the recorder waits for the answer to the end frame of a day too large to keep
    QTest::newRow("middle day too large")
        << few + QStringLiteral("/large") << QStringList{"--package", "65535"} << 0
        << QByteArray("These days could not be written: %1");
    // clang-format on
}

void TestRecorderDownload::threeDays()
{
    QFETCH(QString, folder);
    QFETCH(QStringList, switches);
    QFETCH(int, badChecksums);
    QFETCH(QByteArray, message);
    Simulator sim;
    QVERIFY(sim.start(folder, switches));
    MainWindow w;
    // the log page too, but for the large day, whose 32 MiB it would echo in hexadecimal
    w.on_actionDebug_triggered(message != "These days could not be written: %1");
    QVERIFY(w.connectSerialPort(serial::PortSettings{sim.devicePath}));
    testsupport::DebugCapture debug;
    testsupport::ModalCloser closer;
    const QDate last = first.addDays(2);
    w.startRangeDownload(first, last);
    QVERIFY(waitUntil([&] { return w.downloadState().currentDate() > last; }, 60000));
    // read at once: opening the first day 100 ms after the end clears the log page again
    const QString log = w.findChild<QTextBrowser *>("debugtextBrowser")->toPlainText();

    const bool gap = !message.isEmpty();
    QCOMPARE(w.findChild<QComboBox *>("date_comboBox")->count(), gap ? 2 : 3);
    QCOMPARE(debug.lines().count(QStringLiteral("E_FT_CMD_STATUS_MAX")), 3);
    for (int i = 0; i < 3; ++i) {
        const QDate day = first.addDays(i);
        const QString written = w.workingDirectory() + dayPath(day);
        const QString servedFile =
            folder + dayPath(day, QFileInfo::exists(folder + dayPath(day)) ? ".vdr" : "A.vdr");
        if (gap && i == 1)
            QVERIFY(!QFileInfo::exists(written));
        else
            QVERIFY2(readFile(written) == readFile(servedFile), qPrintable(written));
    }
    QCOMPARE(QDir(w.workingDirectory()).entryList(QDir::Files | QDir::Hidden).size(), gap ? 2 : 3);
    if (gap)
        QTRY_COMPARE(closer.texts().value(0), mwTr(message.constData()).arg("2024/01/31"));
    // the first day of the list is opened at the end
    QTRY_COMPARE(w.findChild<QLabel *>("date_value")->text(), first.toString(QStringLiteral("yyyy/MM/dd")));
    QTRY_VERIFY(overlayHidden(w));
    QVERIFY(w.isSerialPortOpen());
    if (!gap)
        QVERIFY(!closer.texts().join('|').contains(QStringLiteral("These days")));
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
    QVERIFY(w.connectSerialPort(serial::PortSettings{sim.devicePath}));
    w.on_recenttime_clicked();
    w.recentTimeWindow()->on_buttonBox_accepted();
    const QDate today = QDate::currentDate();
    QVERIFY(waitUntil([&] { return w.downloadState().currentDate() > today; }, 10000));
    QCOMPARE(QDir(w.workingDirectory()).entryList(QDir::Files), QStringList{dayPath(today).mid(1)});
    QCOMPARE(readFile(w.workingDirectory() + dayPath(today)), QByteArray("recent hours of today"));
    QCOMPARE(w.findChild<QComboBox *>("date_comboBox")->itemText(0),
             today.toString(QStringLiteral("yyyy/MM/dd")));
}

void TestRecorderDownload::recorderErrorFrame()
{
    Simulator sim;
    QVERIFY(sim.start(small.path(), {"--error-frame"}));
    MainWindow w;
    testsupport::ModalCloser closer;
    QVERIFY(w.connectSerialPort(serial::PortSettings{sim.devicePath}));
    w.startRangeDownload(first, first);
    QTRY_COMPARE(overlayText(w), mwTr("Serial port error. Please try again later...."));
    QVERIFY(w.isSerialPortOpen());
    QTRY_VERIFY_WITH_TIMEOUT(overlayHidden(w), 4000);
    // the request failed: its day leaves the date list, and the user is told
    QTRY_COMPARE(closer.texts(), QStringList{mwTr("Serial port error. Please try again later....") + '\n' +
                                             mwTr("These days were not downloaded: %1").arg("2024/01/30")});
    QCOMPARE(w.findChild<QComboBox *>("date_comboBox")->count(), 0);
    // asked again, the recorder serves the day, read behind nothing of the error frame
    w.startRangeDownload(first, first);
    QVERIFY(waitUntil([&] { return w.downloadState().currentDate() > first; }, 10000));
    QCOMPARE(readFile(w.workingDirectory() + dayPath(first)),
             readFile(small.path() + dayPath(first, "A.vdr")));
}

QTEST_MAIN(TestRecorderDownload)
#include "tst_recorderdownload.moc"
