// The window's part of a download: the dialogs (port settings, date range, recent hours), and
// against a real pseudo-terminal connecting, the echo of the traffic on the log page, the
// overlay, the date list and the messages, and what is left when a download fails or is
// cancelled. The protocol itself is the session's test.
#include "core/serial/frames.h"
#include "gui/app/mainwindow.h"
#include "gui/app/ztpopwaitingwidget.h"
#include "gui/serial/recenttimewidget.h"
#include "gui/serial/ztselectdatesdialog.h"
#include "gui/serial/ztserialportdialog.h"

#include "support/ptydevice.h"
#include "support/testsupport.h"

#include <QAction>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QtTest>

#include <memory>

using testsupport::mwTr;
using testsupport::readFile;

namespace {

QString translated(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text);
}

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

class TestSerial : public QObject
{
    Q_OBJECT

private slots:
    // Entry i of a list is key i of the serial-port library's enumeration (the defaults are the
    // recorder's, as connecting() shows).
    void portSettings()
    {
        ZtSerialPortDialog dialog;
        for (const char *name :
             {"baudrate_comboBox", "databits_comboBox", "stopbits_comboBox", "parity_comboBox"})
            dialog.findChild<QComboBox *>(name)->setCurrentIndex(1);
        dialog.findChild<QComboBox *>("flowcontrol_comboBox")->setCurrentIndex(2);
        const serial::PortSettings chosen = dialog.settings();
        QCOMPARE(chosen.baudRate, 2400);
        QCOMPARE(chosen.dataBits, 6);
        QCOMPARE(chosen.stopBits, serial::PortSettings::OneAndHalfStop);
        QCOMPARE(chosen.parity, serial::PortSettings::EvenParity);
        QCOMPARE(chosen.flowControl, serial::PortSettings::SoftwareControl);
        // a typed device path is the port's name; the listed ports stay the entries
        auto *port = dialog.findChild<QComboBox *>("port_comboBox");
        const int listed = port->count();
        QVERIFY(port->lineEdit());
        port->lineEdit()->clear();
        QTest::keyClicks(port->lineEdit(), "/dev/pts/77");
        QCOMPARE(dialog.settings().name, QStringLiteral("/dev/pts/77"));
        QCOMPARE(port->count(), listed);
    }

    void dateRange_data()
    {
        QTest::addColumn<int>("startAgo"); // days before today
        QTest::addColumn<int>("endAgo");
        QTest::addColumn<QString>("refusal");
        // clang-format off
        QTest::newRow("same day") << 5 << 5 << QString();
        QTest::newRow("30 days after the start") << 40 << 10 << QString();
        QTest::newRow("31 days after the start")
            << 41 << 10 << translated("ZtSelectDatesDialog", "Export time exceeds 30 days");
        QTest::newRow("start after end") << 3 << 4 << translated("ZtSelectDatesDialog",
                                                       "Start time is greater than end time");
        // clang-format on
    }

    void dateRange()
    {
        QFETCH(int, startAgo);
        QFETCH(int, endAgo);
        QFETCH(QString, refusal);
        const QDate today = QDate::currentDate();
        ZtSelectDatesDialog dialog;
        QCOMPARE(dialog.selectedStartDate(), today);
        QCOMPARE(dialog.selectedEndDate(), today);
        dialog.onStartCalendarDate_clicked(today.addDays(-startAgo));
        dialog.onEndCalendarDate_clicked(today.addDays(-endAgo));
        testsupport::ModalCloser closer;
        dialog.on_ok_pushButton_clicked();
        if (refusal.isEmpty()) {
            QVERIFY(closer.texts().isEmpty());
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QCOMPARE(dialog.selectedStartDate(), today.addDays(-startAgo));
            QCOMPARE(dialog.selectedEndDate(), today.addDays(-endAgo));
        } else {
            QCOMPARE(closer.texts(), QStringList{refusal});
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
        }
    }

    void calendarLimits()
    {
        const QDate today = QDate::currentDate();
        ZtSelectDatesDialog dialog;
        dialog.show();
        dialog.onStartCalendarDate_clicked(today.addDays(-3));
        dialog.on_start_pushButton_clicked();
        QCalendarWidget *calendar = dialog.calendar();
        QVERIFY(calendar && calendar->isVisible());
        QCOMPARE(calendar->selectedDate(), today.addDays(-3));
        emit calendar->clicked(today.addDays(-7));
        QVERIFY(!calendar->isVisible());
        QCOMPARE(dialog.selectedStartDate(), today.addDays(-7));
        // the end button reuses the calendar; a click there no longer moves the start
        dialog.on_end_pushButton_clicked();
        QCOMPARE(dialog.calendar(), calendar);
        QCOMPARE(calendar->selectedDate(), today);
        emit calendar->clicked(today.addDays(-1));
        QCOMPARE(dialog.selectedStartDate(), today.addDays(-7));
        QCOMPARE(dialog.selectedEndDate(), today.addDays(-1));
        // a date out of the limits cannot be selected
        dialog.on_start_pushButton_clicked();
        calendar->setSelectedDate(today.addDays(1));
        QCOMPARE(calendar->selectedDate(), today);
        calendar->setSelectedDate(today.addYears(-1).addDays(-1));
        QCOMPARE(calendar->selectedDate(), today.addYears(-1));
    }

    // Without an open port: a date range given up still empties the date list and the working
    // directory; a range asked for leaves no entry and is reported; the recent hours touch nothing
    // but the pages and the date label.
    void requestsWithoutAPort()
    {
        MainWindow w;
        testsupport::writeFile(w.workingDirectory(), QStringLiteral("D20240131__.vdr"), "x");
        auto *list = w.findChild<QComboBox *>("date_comboBox");
        list->addItem(QStringLiteral("2024/01/31"));
        testsupport::ModalCloser closer; // rejects the date dialog
        w.on_date_clicked();
        QCOMPARE(list->count(), 0);
        QVERIFY(!QFileInfo::exists(w.workingDirectory()));

        w.startRangeDownload(QDate(2024, 5, 6), QDate(2024, 5, 8));
        QCOMPARE(list->count(), 0);
        QVERIFY(!w.downloadState().running());
        QTRY_COMPARE(closer.texts(), QStringList{testsupport::mwTr("These days were not downloaded: %1")
                                                     .arg(QStringLiteral("2024/05/06 – 2024/05/08"))});
        QCOMPARE(w.serialWrite("abc"), qint64(0));

        list->addItem(QStringLiteral("2024/01/31"));
        w.on_recenttime_clicked();
        w.recentTimeWindow()->on_buttonBox_accepted();
        QVERIFY(!w.recentTimeWindow());
        QCOMPARE(list->count(), 1);
        QVERIFY(!w.startRecentDownload(2));
        QCOMPARE(closer.texts().size(), 1); // no more messages
    }

    void recentTimeOneAtATime()
    {
        MainWindow w;
        w.on_recenttime_clicked();
        QPointer<RecentTimeWidget> first = w.recentTimeWindow();
        QVERIFY(first && first->isVisible());
        QCOMPARE(first->hours(), 24);
        first->findChild<QSpinBox *>("recent_spinBox")->setValue(3);
        first->hide();
        w.on_recenttime_clicked();
        QCOMPARE(w.recentTimeWindow(), first.data());
        QCOMPARE(first->hours(), 3);

        first->on_buttonBox_rejected();
        QVERIFY(!w.recentTimeWindow());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!first);
        w.on_recenttime_clicked();
        QVERIFY(w.recentTimeWindow());
        QCOMPARE(w.recentTimeWindow()->hours(), 24);
    }

    // A port that cannot be opened is said; the connect button's settings dialog, accepted as it
    // comes but for the port, opens it (the debug output lists the recorder's settings).
    void connecting()
    {
        PtyDevice pty;
        MainWindow w;
        {
            testsupport::ModalCloser closer;
            testsupport::DebugCapture debug;
            QVERIFY(!w.connectSerialPort(serial::PortSettings{QStringLiteral("/dev/no-such-port")}));
            QCOMPARE(closer.texts(), QStringList{mwTr("SerialPort can not open")});
            QCOMPARE(debug.lines().value(0), QStringLiteral("open: false"));
            QVERIFY(!debug.lines().value(7).endsWith(QStringLiteral("NoError")));
        }
        QVERIFY(button(w, "date")->isHidden());
        testsupport::DebugCapture debug;
        QTimer::singleShot(50, [&pty] {
            if (auto *dialog = qobject_cast<ZtSerialPortDialog *>(QApplication::activeModalWidget())) {
                auto *ports = dialog->findChild<QComboBox *>("port_comboBox");
                ports->addItem(pty.path());
                ports->setCurrentIndex(ports->count() - 1);
                dialog->accept();
            }
        });
        w.on_rs232_clicked();
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

    void disconnectAsked()
    {
        PtyDevice pty;
        MainWindow w;
        QVERIFY(connectTo(w, pty));
        testsupport::ModalCloser closer(QMessageBox::Cancel);
        // connected, no download: opening a file would empty the date list, paging would not
        w.findChild<QAction *>("nextDayShortcut")->trigger();
        for (const char *name : {"actionOpenFile", "actionImportFolder", "actionImportTar"})
            w.findChild<QAction *>(name)->trigger();
        QCOMPARE(closer.texts(),
                 QVector<QString>(3, mwTr("Disconnect the serial port before opening a file")).toList());
        closer.clear();
        // nor are files dropped on the window opened
        QTemporaryDir dir;
        testsupport::dropFiles(&w, {testsupport::writeFile(dir.path(), "D20240131__A.vdr", "x")});
        QTRY_COMPARE(
            closer.texts(),
            QStringList{mwTr("Disconnect the serial port before opening files dropped on the window")});
        QTest::qWait(150);
        QVERIFY(dates(w).isEmpty() && w.displayedDayFile().isEmpty());
        closer.clear();
        // a day asked for by itself gets its entry and its request
        w.onCalendarDate_clicked(QDate(2024, 1, 31));
        QVERIFY(pty.waitForRequests(1));
        QCOMPARE(dates(w), QStringList{"2024/01/31"});
        w.on_rs232_clicked();
        QCOMPARE(closer.texts(), QStringList{mwTr("Disconnecting Serial Port?")});
        QVERIFY(w.isSerialPortOpen());
        closer.setAnswer(QMessageBox::Ok);
        w.on_rs232_clicked();
        QVERIFY(!w.isSerialPortOpen());
        QVERIFY(button(w, "importTar")->isEnabled());
        QVERIFY(button(w, "recenttime")->isHidden());
    }

    // The traffic echo, the overlay with the days done and the end of a range of three days: the second has
    // no data, the third cannot be written (said in red, the download goes on). One date list entry is left,
    // a message names the other days, the first day is opened.
    void downloadShown()
    {
        PtyDevice pty;
        MainWindow w;
        testsupport::ModalCloser closer; // the day written here is no real day file
        w.on_actionDebug_triggered(true);
        QVERIFY(connectTo(w, pty));
        const QDate day(2024, 1, 31);
        w.startRangeDownload(day, day.addDays(2));
        QVERIFY(pty.waitForRequests(1));
        QVERIFY(log(w)->toPlainText().contains(
            QStringLiteral("serial Write\nAA 75 00 00 00 20 24 01 31 00 00 00 EB")));
        QCOMPARE(dates(w), QStringList{"2024/01/31"});

        // a read of two frames, the second with a wrong checksum: echoed, reported, both used
        const QByteArray bad = response(0x11, 1, "BBB", true);
        pty.send(response(0x10, 0, "AAA") + bad);
        QVERIFY(pty.waitForRequests(2));
        ZtPopWaitingWidget *overlay = w.waitingOverlay();
        QCOMPARE(overlay->text(), mwTr("Downlog Package.....") + "(2024/01/31)");
        QVERIFY(overlay->cancelShown() && overlay->progressShown());
        QCOMPARE(QVector<int>({overlay->progressValue(), overlay->progressMaximum()}), QVector<int>({0, 3}));
        const QString line = QString::asprintf("Error : Check sum head.checksum:%X ChkSum:%X",
                                               unsigned(quint8(bad[13])), unsigned(quint8(bad[13]) ^ 0x0F));
        const QString text = log(w)->toPlainText();
        // in the order of the traffic: the read, each frame's lines, the answer to the package
        const QList<int> at{
            int(text.indexOf(QStringLiteral("serial read len:34\n55 7A 10"))),
            int(text.indexOf(QStringLiteral("status:16\npackID:0\npayload_len:3\n"))),
            int(text.indexOf(QStringLiteral("status:17\npackID:1\npayload_len:3\n") + line)),
            int(text.indexOf(QStringLiteral("serial Write\nAA 75 01 00 00 20 24 01 31 00 00 00 EA")))};
        QVERIFY2(at[0] >= 0 && at[0] < at[1] && at[1] < at[2] && at[2] < at[3], qPrintable(text));
        QVERIFY(log(w)->toHtml().contains(QStringLiteral("#ff0000")));

        pty.send(response(0x12, 0, "D") + response(0x14, 0));
        QVERIFY(pty.waitForRequests(4)); // file written, the next day asked for
        QCOMPARE(readFile(dayFile(w, day)), QByteArray("AAABBBD"));
        // asking for a day cleared the pages, the log page too
        QCOMPARE(log(w)->toPlainText(),
                 QStringLiteral("serial Write\nAA 75 00 00 00 20 24 02 01 00 00 00 D8"));
        pty.send(response(0x14, 0));
        QVERIFY(pty.waitForRequests(5));
        QCOMPARE(dates(w), QStringList({"2024/01/31", "2024/02/01", "2024/02/02"}));
        QVERIFY(QDir().mkpath(dayFile(w, day.addDays(2)))); // the third day's name is taken
        pty.send(response(0x10, 0));
        QTRY_COMPARE(overlay->text(), mwTr("DVR creat vdr file.....") + "(2024/02/02)");
        QCOMPARE(overlay->progressValue(), 2); // days done
        pty.send(response(0x11, 1, "three"));
        QVERIFY(pty.waitForRequests(6));
        pty.send(response(0x12, 0));
        QVERIFY(pty.waitForRequests(7));
        QVERIFY(log(w)->toPlainText().contains(mwTr("Error : can not write %1").arg("D20240202__.vdr")));
        QVERIFY(closer.texts().isEmpty());
        pty.send(response(0x15, 0));
        QTRY_VERIFY(!w.downloadState().running());
        QCOMPARE(dates(w), QStringList{"2024/01/31"});
        QVERIFY(!overlay->cancelShown());
        // the message, then the first day of the list opens (and is found damaged)
        QTRY_COMPARE(closer.texts().size(), 2);
        QCOMPARE(closer.texts().value(0), mwTr("These days could not be written: %1").arg("2024/02/02") +
                                              '\n' +
                                              mwTr("These days were not downloaded: %1").arg("2024/02/01"));
        QTRY_VERIFY(overlay->isHidden());
        QVERIFY(!overlay->progressShown()); // nor on the overlay's next use
    }

    // Today's entry and the request for the hours chosen; no days to count on the overlay.
    void recentHours()
    {
        PtyDevice pty;
        MainWindow w;
        QVERIFY(connectTo(w, pty));
        w.on_recenttime_clicked();
        w.recentTimeWindow()->findChild<QSpinBox *>("recent_spinBox")->setValue(5);
        w.recentTimeWindow()->on_buttonBox_accepted();
        QVERIFY(pty.waitForRequests(1));
        QCOMPARE(serial::hexText(pty.requests()[0]),
                 QStringLiteral("AA 75 00 00 00 00 00 00 00 05 01 00 DB"));
        QCOMPARE(dates(w), QStringList{QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"))});
        pty.send(response(0x10, 0));
        QTRY_VERIFY(w.waitingOverlay() && w.waitingOverlay()->isVisible());
        QVERIFY(!w.waitingOverlay()->progressShown());
    }

    // Every frame leaves its lines on the log page, shown or not; the page keeps the latest.
    void logPageBounded()
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

    void linkError()
    {
        PtyDevice pty;
        MainWindow w;
        auto closer = std::make_unique<testsupport::ModalCloser>();
        QVERIFY(connectTo(w, pty));
        w.startRangeDownload(QDate(2024, 3, 3), QDate(2024, 3, 4));
        QVERIFY(pty.waitForRequests(1));
        pty.send(QByteArray(14, '\x01'));
        QTRY_VERIFY(!w.isSerialPortOpen());
        // said as a vanished device is (the window's state after it: downloadEndedEarly)
        QTRY_COMPARE(closer->texts(),
                     QStringList{mwTr("Serial port error. Please check Serial port....") + '\n' +
                                 mwTr("These days were not downloaded: %1").arg("2024/03/03 – 2024/03/04")});
        QCOMPARE(dates(w), QStringList());

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

    void downloadEndedEarly_data()
    {
        QTest::addColumn<QString>("how");
        QTest::addColumn<QByteArray>("errorSource"); // on the overlay and first in the message
        QTest::newRow("cancelled") << "cancel" << QByteArray();
        QTest::newRow("recorder silent")
            << "silent" << QByteArray("The recorder stopped answering at %1. Please check Serial port....");
        QTest::newRow("peer vanishes mid-download")
            << "hang up" << QByteArray("Serial port error. Please check Serial port....");
        QTest::newRow("recorder error frame")
            << "error frame" << QByteArray("Serial port error. Please try again later....");
    }

    // The second of three days is under way when the user cancels, the recorder stops answering
    // or refuses, or the device goes away: the first day stays, the others leave the date list
    // and the user is told which. A failed link is closed; after the recorder's refusal the
    // port stays open.
    void downloadEndedEarly()
    {
        QFETCH(QString, how);
        QFETCH(QByteArray, errorSource);
        PtyDevice pty;
        MainWindow w;
        const QString error =
            errorSource.isEmpty() ? QString() : mwTr(errorSource.constData()).replace("%1", "2024/06/02");
        testsupport::ModalCloser closer;
        if (how == "silent")
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

        if (how == "cancel") {
            // what would change the date list or the day shown is refused meanwhile
            for (const char *name :
                 {"actionOpenFile", "reloadShortcut", "previousDayShortcut", "nextDayShortcut"})
                w.findChild<QAction *>(name)->trigger();
            QCOMPARE(
                closer.texts(),
                QVector<QString>(4, mwTr("A download is running: wait for its end or cancel it")).toList());
            QVERIFY(overlay->isVisible());
            QCOMPARE(dates(w).size(), 2);
            closer.clear();
            QTest::mouseClick(overlay->findChild<QPushButton *>("cancel_pushButton"), Qt::LeftButton);
            QVERIFY(overlay->isHidden());
        } else {
            if (how == "hang up")
                pty.hangUp();
            else if (how == "error frame")
                pty.send(serial::errorFrame());
            QTRY_VERIFY_WITH_TIMEOUT(!w.downloadState().running(), 3000);
            QVERIFY(overlay->isVisible());
            QCOMPARE(overlay->text(), error);
        }
        const bool stillOpen = how == "error frame";
        QCOMPARE(w.isSerialPortOpen(), stillOpen);
        QCOMPARE(button(w, "rs232")->text(), stillOpen ? mwTr("Disconnet...") : mwTr("Connet RS232..."));
        QVERIFY(button(w, "importTar")->isEnabled() != stillOpen &&
                button(w, "date")->isHidden() != stillOpen);
        QVERIFY(!overlay->cancelShown());
        const QString missing = mwTr("These days were not downloaded: %1").arg("2024/06/02 – 2024/06/03");
        QTRY_COMPARE_WITH_TIMEOUT(closer.texts(),
                                  QStringList{error.isEmpty() ? missing : error + '\n' + missing}, 5000);
        QTRY_VERIFY_WITH_TIMEOUT(overlay->isHidden(), 4000);
        QCOMPARE(dates(w), QStringList{"2024/06/01"});
        QCOMPARE(QDir(w.workingDirectory()).entryList(QDir::Files | QDir::Hidden | QDir::System),
                 QStringList{"D20240601__.vdr"});
        QCOMPARE(readFile(dayFile(w, first)), QByteArray("day one"));
    }

private:
    bool connectTo(MainWindow &w, const PtyDevice &pty)
    {
        return w.connectSerialPort(serial::PortSettings{pty.path()});
    }
    QTextBrowser *log(MainWindow &w) { return w.findChild<QTextBrowser *>("debugtextBrowser"); }
    QPushButton *button(MainWindow &w, const char *name) { return w.findChild<QPushButton *>(name); }
};

QTEST_MAIN(TestSerial)
#include "tst_serial.moc"
