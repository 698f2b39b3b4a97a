// Faults on the serial link during a download, against a real pseudo-terminal: the device
// vanishing in the middle of a day. The user gets a clear message and a window to go on
// with; the days written before stay whole and no partial day file is left behind.
#include "app/mainwindow.h"
#include "app/ztpopwaitingwidget.h"
#include "serial/ptydevice.h"
#include "serial/ztserialportdialog.h"
#include "support/testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QtTest>

class TestSerialFaults : public QObject
{
    Q_OBJECT

private slots:
    void peerVanishesMidDownload_data();
    void peerVanishesMidDownload();
};

void TestSerialFaults::peerVanishesMidDownload_data()
{
    // How far the second day got when the device went away.
    QTest::addColumn<int>("packagesSent");
    QTest::newRow("after its start frame") << 0;
    QTest::newRow("after two packages") << 2;
}

void TestSerialFaults::peerVanishesMidDownload()
{
    QFETCH(int, packagesSent);
    testsupport::ModalCloser closer;
    PtyDevice pty;
    MainWindow w;
    QVERIFY(w.connectSerialPort(serial::PortSettings{pty.path()}));
    w.startRangeDownload(QDate(2024, 3, 3), QDate(2024, 3, 4));
    QVERIFY(pty.waitForRequests(1));

    // The first day arrives whole and is written.
    pty.send(testsupport::responseFrame(0x10, 0) + testsupport::responseFrame(0x11, 1, "first-") +
             testsupport::responseFrame(0x11, 2, "day") + testsupport::responseFrame(0x12, 1));
    const QString first = w.workingDirectory() + QStringLiteral("/D20240303__.vdr");
    QTRY_VERIFY(QFile::exists(first));
    pty.send(testsupport::responseFrame(0x14, 0));
    QTRY_COMPARE(w.downloadState().currentDate(), QDate(2024, 3, 4));

    // The second day starts, then the device is gone.
    QByteArray partial = testsupport::responseFrame(0x10, 0);
    for (int i = 1; i <= packagesSent; ++i)
        partial += testsupport::responseFrame(0x11, quint16(i), "part");
    pty.send(partial);
    QTest::qWait(50);
    pty.hangUp();

    // A clear message, the link closed, the buttons back to connecting.
    QTRY_VERIFY_WITH_TIMEOUT(!w.isSerialPortOpen(), 3000);
    QVERIFY(!w.waitingOverlay()->isHidden());
    QCOMPARE(w.waitingOverlay()->text(),
             testsupport::mwTr("Serial port error. Please check Serial port...."));
    QCOMPARE(w.findChild<QPushButton *>("rs232")->text(), testsupport::mwTr("Connet RS232..."));
    QVERIFY(w.findChild<QPushButton *>("importTar")->isEnabled());
    QVERIFY(w.downloadState().dayFileData().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(w.waitingOverlay()->isHidden(), 4000);

    // The first day is whole, the second left no file at all (nor one written aside).
    QFile f(first);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("first-day"));
    QCOMPARE(QDir(w.workingDirectory()).entryList(QDir::Files | QDir::Hidden | QDir::System),
             QStringList{QStringLiteral("D20240303__.vdr")});
    QCOMPARE(closer.texts(),
             QStringList{testsupport::mwTr("Serial port error. Please check Serial port....") + '\n' +
                         testsupport::mwTr("These days were not downloaded: %1").arg("2024/03/04")});

    // The window goes on: the downloaded day, the only one left in the date list, opens from it.
    auto *dates = w.findChild<QComboBox *>("date_comboBox");
    QCOMPARE(dates->count(), 1);
    QCOMPARE(dates->itemText(0), QStringLiteral("2024/03/03"));
}

QTEST_MAIN(TestSerialFaults)
#include "tst_serialfaults.moc"
