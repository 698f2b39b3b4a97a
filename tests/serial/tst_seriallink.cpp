// The window on the serial link: connecting, the traffic echo, frames that arrive in
// pieces or together, the link error, an unwritable day, and a download cancelled or left
// unanswered, against a real pseudo-terminal.
#include "app/mainwindow.h"
#include "app/ztpopwaitingwidget.h"
#include "serial/frames.h"
#include "serial/ztserialportdialog.h"

#include "ptydevice.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include <memory>

using testsupport::mwTr;
using testsupport::readFile;

namespace {

QByteArray response(quint8 status, quint16 id, const QByteArray &payload = {}, bool badSum = false)
{
    return testsupport::responseFrame(status, id, payload, badSum ? 0x0F : 0);
}

QString dayFile(const MainWindow &w, const QDate &day)
{
    return w.workingDirectory() + day.toString(QStringLiteral("/DyyyyMMdd__")) + QStringLiteral(".vdr");
}

QStringList dates(const MainWindow &w)
{
    const auto *list = w.findChild<QComboBox *>("date_comboBox");
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->itemText(i);
    return texts;
}

} // namespace

class TestSerialLink : public QObject
{
    Q_OBJECT

private slots:
    void connectWithDefaults();
    void connectFailure();
    void disconnectAsked();
    void framesTogetherAndInPieces();
    void wrongChecksumStillUsed();
    void logPageBounded();
    void linkError();
    void unwritableDay();
    void downloadEndedEarly_data();
    void downloadEndedEarly();

private:
    bool connectTo(MainWindow &w, const PtyDevice &pty)
    {
        return w.connectSerialPort(serial::PortSettings{pty.path()});
    }
    QTextBrowser *log(MainWindow &w) { return w.findChild<QTextBrowser *>("debugtextBrowser"); }
    QPushButton *button(MainWindow &w, const char *name) { return w.findChild<QPushButton *>(name); }
};

void TestSerialLink::connectWithDefaults()
{
    PtyDevice pty;
    MainWindow w;
    QVERIFY(button(w, "date")->isHidden());
    testsupport::DebugCapture debug;
    QVERIFY(connectTo(w, pty));
    QVERIFY(w.isSerialPortOpen());
    QStringList lines = debug.lines();
    QCOMPARE(lines.size(), 8);
    lines.removeAt(1); // portName: the device's name
    QCOMPARE(lines, QStringList({"open: true", "baudRate: 115200", "dataBits: QSerialPort::Data8",
                                 "stopBits: QSerialPort::OneStop", "parity: QSerialPort::NoParity",
                                 "flowControl: QSerialPort::NoFlowControl",
                                 "serialPort error: QSerialPort::NoError"}));
    QCOMPARE(button(w, "rs232")->text(), mwTr("Disconnet..."));
    QVERIFY(!button(w, "importTar")->isEnabled());
    QVERIFY(!button(w, "date")->isHidden());
}

void TestSerialLink::connectFailure()
{
    MainWindow w;
    testsupport::ModalCloser closer;
    testsupport::DebugCapture debug;
    QVERIFY(!w.connectSerialPort(serial::PortSettings{QStringLiteral("/dev/no-such-port")}));
    QCOMPARE(closer.texts(), QStringList{mwTr("SerialPort can not open")});
    QCOMPARE(debug.lines().value(0), QStringLiteral("open: false"));
    QVERIFY(!debug.lines().value(7).endsWith(QStringLiteral("NoError")));
    QVERIFY(button(w, "date")->isHidden());
}

void TestSerialLink::disconnectAsked()
{
    PtyDevice pty;
    MainWindow w;
    QVERIFY(connectTo(w, pty));
    testsupport::ModalCloser closer(QMessageBox::Cancel);
    // connected, no download: opening a file would empty the date list, paging would not
    w.findChild<QAction *>("nextDayShortcut")->trigger();
    w.findChild<QAction *>("openFileShortcut")->trigger();
    QCOMPARE(closer.texts(), QStringList{mwTr("Disconnect the serial port before opening a file")});
    closer.clear();
    w.on_rs232_clicked();
    QCOMPARE(closer.texts(), QStringList{mwTr("Disconnecting Serial Port?")});
    QVERIFY(w.isSerialPortOpen());
    closer.setAnswer(QMessageBox::Ok);
    w.on_rs232_clicked();
    QVERIFY(!w.isSerialPortOpen());
    QVERIFY(button(w, "importTar")->isEnabled());
    QVERIFY(button(w, "recenttime")->isHidden());
}

void TestSerialLink::framesTogetherAndInPieces()
{
    PtyDevice pty;
    MainWindow w;
    testsupport::ModalCloser closer; // the day written here is no real day file
    w.on_actionDebug_triggered(true);
    QVERIFY(connectTo(w, pty));
    const QDate day(2024, 1, 31);
    w.startRangeDownload(day, day);
    QVERIFY(pty.waitForRequests(1));
    QCOMPARE(serial::hexText(pty.requests()[0]), QStringLiteral("AA 75 00 00 00 20 24 01 31 00 00 00 EB"));
    QVERIFY(log(w)->toPlainText().contains(
        QStringLiteral("serial Write\nAA 75 00 00 00 20 24 01 31 00 00 00 EB")));

    // start frame and first package in one write: both are answered at once
    pty.send(response(0x10, 0, "AAA") + response(0x11, 1, "BBB"));
    QVERIFY(pty.waitForRequests(2));
    QCOMPARE(quint8(pty.requests()[1][2]), quint8(0x01));
    QCOMPARE(w.waitingOverlay()->text(), mwTr("Downlog Package.....") + "(2024/01/31)");
    QVERIFY(log(w)->toPlainText().contains(QStringLiteral("serial read len:34")));

    // a package in two pieces, split inside the head (the simulator tests cut them finer)
    const QByteArray package = response(0x11, 2, "CCCC");
    pty.send(package.left(9));
    QTest::qWait(30);
    QCOMPARE(pty.requests().size(), 2);
    pty.send(package.mid(9));
    QVERIFY(pty.waitForRequests(3));

    // end frame and day finished together
    pty.send(response(0x12, 1, "D") + response(0x14, 0));
    QVERIFY(pty.waitForRequests(4));
    QCOMPARE(quint8(pty.requests()[3][2]), quint8(0x03));
    QCOMPARE(readFile(dayFile(w, day)), QByteArray("AAABBBCCCCD"));
    const QString text = log(w)->toPlainText();
    QVERIFY(text.contains(QStringLiteral("status:18\npackID:1\npayload_len:1")));
    QVERIFY(!text.contains(QStringLiteral("Check sum")));
    // then the first day of the list is opened (and found damaged), and the overlay goes away
    QTRY_VERIFY(w.waitingOverlay()->isHidden());
    QTRY_COMPARE(closer.texts().size(), 1);
}

void TestSerialLink::wrongChecksumStillUsed()
{
    PtyDevice pty;
    MainWindow w;
    w.on_actionDebug_triggered(true);
    QVERIFY(connectTo(w, pty));
    w.startRangeDownload(QDate(2024, 3, 1), QDate(2024, 3, 1));
    QVERIFY(pty.waitForRequests(1));
    const QByteArray bad = response(0x11, 1, "xy", true);
    pty.send(response(0x10, 0) + bad);
    QVERIFY(pty.waitForRequests(2)); // the package is answered all the same
    const quint8 received = quint8(bad[13]);
    const QString line = QString::asprintf("Error : Check sum head.checksum:%X ChkSum:%X", unsigned(received),
                                           unsigned(received ^ 0x0F));
    QVERIFY2(log(w)->toPlainText().contains(line), qPrintable(log(w)->toPlainText()));
    QVERIFY(log(w)->toHtml().contains(QStringLiteral("#ff0000")));
    QCOMPARE(w.downloadState().dayFileData(), QByteArray("xy"));
}

// Every frame leaves its lines on the log page, shown or not; the page keeps the latest.
void TestSerialLink::logPageBounded()
{
    PtyDevice pty;
    MainWindow w;
    w.on_actionDebug_triggered(true);
    w.clearAllPages(); // the bound outlives the page's clearing
    w.on_actionDebug_triggered(false);
    QVERIFY(connectTo(w, pty));
    const int frames = 10000; // three lines each
    for (int i = 0; i < frames; i += 100) {
        QByteArray burst;
        for (int k = i; k < i + 100; ++k)
            burst += response(0x20, quint16(k));
        pty.send(burst);
        QTest::qWait(1); // what the line holds is read meanwhile
    }
    QTextDocument *page = log(w)->document();
    QTRY_VERIFY(page->lastBlock().text() == QStringLiteral("payload_len:0") &&
                page->lastBlock().previous().text() == QStringLiteral("packID:%1").arg(frames - 1));
    QVERIFY2(page->blockCount() <= 2 * frames, qPrintable(QString::number(page->blockCount())));
    QVERIFY(page->blockCount() > 10000);
}

void TestSerialLink::linkError()
{
    PtyDevice pty;
    MainWindow w;
    auto closer = std::make_unique<testsupport::ModalCloser>();
    QVERIFY(connectTo(w, pty));
    w.startRangeDownload(QDate(2024, 3, 3), QDate(2024, 3, 4));
    QVERIFY(pty.waitForRequests(1));
    pty.send(QByteArray(7, '\x01')); // less than a head: waits
    QTest::qWait(50);
    QVERIFY(w.isSerialPortOpen());
    pty.send(QByteArray(7, '\x01'));
    QTRY_VERIFY(!w.isSerialPortOpen());
    QVERIFY(!w.waitingOverlay()->isHidden());
    QCOMPARE(w.waitingOverlay()->text(), mwTr("Serial port error. Please check Serial port...."));
    QVERIFY(button(w, "importTar")->isEnabled() && button(w, "date")->isHidden());
    // the day asked for has no entry left, and the user is told
    QTRY_COMPARE(closer->texts(),
                 QStringList{mwTr("Serial port error. Please check Serial port....") + '\n' +
                             mwTr("These days were not downloaded: %1").arg("2024/03/03 – 2024/03/04")});
    QCOMPARE(dates(w), QStringList());
    QTRY_VERIFY_WITH_TIMEOUT(w.waitingOverlay()->isHidden(), 4000);

    // the next click of the connect button offers the port settings again
    closer.reset();
    QString shown;
    QTimer::singleShot(50, [&shown] {
        if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
            shown = QString::fromLatin1(dialog->metaObject()->className());
            dialog->reject();
        }
    });
    w.on_rs232_clicked();
    QCOMPARE(shown, QStringLiteral("ZtSerialPortDialog"));
    QVERIFY(!w.isSerialPortOpen());

    // connecting again starts from an empty buffer
    closer = std::make_unique<testsupport::ModalCloser>(); // the day had no data
    QVERIFY(connectTo(w, pty));
    pty.clear();
    w.startRangeDownload(QDate(2024, 3, 3), QDate(2024, 3, 3));
    QVERIFY(pty.waitForRequests(1));
    pty.send(response(0x14, 0));
    QTRY_VERIFY(w.downloadState().currentDate() == QDate(2024, 3, 4));
    QVERIFY(w.isSerialPortOpen());
}

void TestSerialLink::unwritableDay()
{
    PtyDevice pty;
    MainWindow w;
    w.on_actionDebug_triggered(true);
    QVERIFY(connectTo(w, pty));
    const QDate first(2024, 4, 1);
    w.startRangeDownload(first, first.addDays(1));
    QVERIFY(pty.waitForRequests(1));
    // the first day's name is taken by a directory
    QVERIFY(QDir().mkpath(dayFile(w, first)));
    testsupport::ModalCloser closer;
    pty.send(response(0x10, 0) + response(0x11, 1, "one"));
    QVERIFY(pty.waitForRequests(2));
    pty.send(response(0x12, 0));
    QVERIFY(pty.waitForRequests(3)); // the download goes on
    QVERIFY(log(w)->toPlainText().contains(mwTr("Error : can not write %1").arg("D20240401__.vdr")));
    QVERIFY(closer.texts().isEmpty());
    pty.send(response(0x15, 0));
    QVERIFY(pty.waitForRequests(4)); // the next day
    pty.send(response(0x10, 0) + response(0x11, 1, "two"));
    QVERIFY(pty.waitForRequests(5));
    pty.send(response(0x12, 0) + response(0x15, 0));
    QTRY_COMPARE(closer.texts(), QStringList{mwTr("These days could not be written: %1").arg("2024/04/01")});
    QCOMPARE(readFile(dayFile(w, first.addDays(1))), QByteArray("two"));
    QVERIFY(QFileInfo(dayFile(w, first)).isDir());
    QCOMPARE(dates(w), QStringList{"2024/04/02"});
}

void TestSerialLink::downloadEndedEarly_data()
{
    QTest::addColumn<bool>("cancel"); // the overlay's "Cancel", or a recorder that falls silent
    QTest::newRow("cancelled") << true;
    QTest::newRow("recorder silent") << false;
}

// The second of three days is under way when the user cancels or the recorder stops
// answering: the port is closed, the first day stays, the others leave the date list and
// the user is told which.
void TestSerialLink::downloadEndedEarly()
{
    QFETCH(bool, cancel);
    PtyDevice pty;
    MainWindow w;
    testsupport::ModalCloser closer;
    if (!cancel)
        w.setAnswerTimeout(500);
    QVERIFY(connectTo(w, pty));
    const QDate first(2024, 6, 1);
    w.startRangeDownload(first, first.addDays(2));
    QVERIFY(pty.waitForRequests(1));
    pty.send(response(0x10, 0) + response(0x11, 1, "day one"));
    QVERIFY(pty.waitForRequests(2));
    pty.send(response(0x12, 0) + response(0x14, 0));
    QVERIFY(pty.waitForRequests(4)); // file written, the next day asked for
    pty.send(response(0x10, 0) + response(0x11, 1, "half"));
    QVERIFY(pty.waitForRequests(5));
    ZtPopWaitingWidget *overlay = w.waitingOverlay();
    QVERIFY(overlay->isVisible() && overlay->cancelShown());
    QCOMPARE(dates(w), QStringList({"2024/06/01", "2024/06/02"}));

    const QString silent =
        mwTr("The recorder stopped answering at %1. Please check Serial port....").arg("2024/06/02");
    if (cancel) {
        // what would change the date list or the day shown is refused meanwhile
        for (const char *name :
             {"openFileShortcut", "reloadShortcut", "previousDayShortcut", "nextDayShortcut"})
            w.findChild<QAction *>(name)->trigger();
        QCOMPARE(closer.texts(),
                 QVector<QString>(4, mwTr("A download is running: wait for its end or cancel it")).toList());
        QVERIFY(overlay->isVisible());
        QCOMPARE(dates(w).size(), 2);
        closer.clear();
        QTest::mouseClick(overlay->findChild<QPushButton *>("cancel_pushButton"), Qt::LeftButton);
        QVERIFY(overlay->isHidden());
    } else {
        QTRY_VERIFY_WITH_TIMEOUT(!w.isSerialPortOpen(), 3000);
        QCOMPARE(overlay->text(), silent);
    }
    QVERIFY(!w.isSerialPortOpen());
    QCOMPARE(button(w, "rs232")->text(), mwTr("Connet RS232..."));
    QVERIFY(!overlay->cancelShown());
    const QString missing = mwTr("These days were not downloaded: %1").arg("2024/06/02 – 2024/06/03");
    QTRY_COMPARE_WITH_TIMEOUT(closer.texts(), QStringList{cancel ? missing : silent + '\n' + missing}, 5000);
    QCOMPARE(dates(w), QStringList{"2024/06/01"});
    QCOMPARE(QDir(w.workingDirectory()).entryList(QDir::Files), QStringList{"D20240601__.vdr"});
    QCOMPARE(readFile(dayFile(w, first)), QByteArray("day one"));
}

QTEST_MAIN(TestSerialLink)
#include "tst_seriallink.moc"
