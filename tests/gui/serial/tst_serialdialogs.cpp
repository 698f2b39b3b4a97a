// The dialogs of a download: port settings, date range, recent hours.
#include "gui/app/mainwindow.h"
#include "gui/serial/recenttimewidget.h"
#include "gui/serial/ztselectdatesdialog.h"
#include "gui/serial/ztserialportdialog.h"

#include "support/testsupport.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSpinBox>
#include <QtTest>

namespace {

QString translated(const char *context, const char *text)
{
    return QCoreApplication::translate(context, text);
}

QStringList entries(const QComboBox *box)
{
    QStringList list;
    for (int i = 0; i < box->count(); ++i)
        list.append(box->itemText(i));
    return list;
}

} // namespace

class TestSerialDialogs : public QObject
{
    Q_OBJECT

private slots:
    void portSettings();
    void dateRange_data();
    void dateRange();
    void calendarLimits();
    void rangeCancelledStillClears();
    void rangeWithClosedPort();
    void recentTimeOneAtATime();
    void recentTimeClosedPort();
};

// Entry i of a list is key i of the serial-port library's enumeration; the defaults are the
// recorder's.
void TestSerialDialogs::portSettings()
{
    ZtSerialPortDialog dialog;
    serial::PortSettings chosen = dialog.settings();
    QCOMPARE(chosen.baudRate, 115200);
    QCOMPARE(chosen.dataBits, 8);
    QCOMPARE(chosen.stopBits, serial::PortSettings::OneStop);
    QCOMPARE(chosen.parity, serial::PortSettings::NoParity);
    QCOMPARE(chosen.flowControl, serial::PortSettings::NoFlowControl);
    for (const char *name :
         {"baudrate_comboBox", "databits_comboBox", "stopbits_comboBox", "parity_comboBox"})
        dialog.findChild<QComboBox *>(name)->setCurrentIndex(1);
    dialog.findChild<QComboBox *>("flowcontrol_comboBox")->setCurrentIndex(2);
    chosen = dialog.settings();
    QCOMPARE(chosen.baudRate, 2400);
    QCOMPARE(chosen.dataBits, 6);
    QCOMPARE(chosen.stopBits, serial::PortSettings::OneAndHalfStop);
    QCOMPARE(chosen.parity, serial::PortSettings::EvenParity);
    QCOMPARE(chosen.flowControl, serial::PortSettings::SoftwareControl);
    // a typed device path is the port's name; the listed ports stay the entries
    auto *port = dialog.findChild<QComboBox *>("port_comboBox");
    const QStringList listed = entries(port);
    QVERIFY(port->lineEdit());
    port->lineEdit()->clear();
    QTest::keyClicks(port->lineEdit(), "/dev/pts/77");
    QCOMPARE(dialog.settings().name, QStringLiteral("/dev/pts/77"));
    QCOMPARE(entries(port), listed);
}

void TestSerialDialogs::dateRange_data()
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

void TestSerialDialogs::dateRange()
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

void TestSerialDialogs::calendarLimits()
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

void TestSerialDialogs::rangeCancelledStillClears()
{
    MainWindow w;
    testsupport::writeFile(w.workingDirectory(), QStringLiteral("D20240131__.vdr"), "x");
    auto *list = w.findChild<QComboBox *>("date_comboBox");
    list->addItem(QStringLiteral("2024/01/31"));
    testsupport::ModalCloser closer; // rejects the date dialog
    w.on_date_clicked();
    QCOMPARE(list->count(), 0);
    QVERIFY(!QFileInfo::exists(w.workingDirectory()));
}

void TestSerialDialogs::rangeWithClosedPort()
{
    MainWindow w;
    testsupport::ModalCloser closer;
    auto *list = w.findChild<QComboBox *>("date_comboBox");
    w.startRangeDownload(QDate(2024, 5, 6), QDate(2024, 5, 8));
    // nothing can be asked for: no entry stays, and the user is told
    QCOMPARE(entries(list), QStringList());
    QVERIFY(!w.downloadState().running());
    QTRY_COMPARE(closer.texts(), QStringList{testsupport::mwTr("These days were not downloaded: %1")
                                                 .arg(QStringLiteral("2024/05/06 – 2024/05/08"))});
    QCOMPARE(w.serialWrite("abc"), qint64(0));
}

void TestSerialDialogs::recentTimeOneAtATime()
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

void TestSerialDialogs::recentTimeClosedPort()
{
    MainWindow w;
    auto *list = w.findChild<QComboBox *>("date_comboBox");
    list->addItem(QStringLiteral("2024/01/31"));
    w.on_recenttime_clicked();
    w.recentTimeWindow()->on_buttonBox_accepted();
    QVERIFY(!w.recentTimeWindow());
    QCOMPARE(list->count(), 1); // nothing but the pages and the date label is touched
    QVERIFY(!w.startRecentDownload(2));
}

QTEST_MAIN(TestSerialDialogs)
#include "tst_serialdialogs.moc"
