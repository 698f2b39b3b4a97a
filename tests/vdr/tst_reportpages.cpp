// The "Fault & Event", "Technology" and "Location" pages filled through the main window:
// from a day file, on size failures, with the log page shown, and on hour selection.
#include "app/autowraplabel.h"
#include "app/mainwindow.h"
#include "print/ztprintwidget.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QAction>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QMessageBox>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtCharts/QChartView>
#include <QtTest>

#include <memory>

QT_CHARTS_USE_NAMESPACE
using testsupport::child;
using testsupport::DebugCapture;
using testsupport::ModalCloser;
using testsupport::mwTr;

namespace {

using namespace vdrenc;

QByteArray faultBlock()
{
    return faultEventBlock({{'5', stamp(2024, 1, 31, 13, 5, 9), stamp(2024, 1, 31, 14, 7, 10)}},
                           {{'2', stamp(2024, 1, 31, 15, 0, 0), zeroStamp(), 2}});
}

QByteArray techBlock(bool newLayout = false)
{
    DeviceInfo info;
    info.vendor = "Tavrin";
    info.certificate = "12345678";
    info.carNo = "ABC-567";
    info.installTime = stamp(2023, 7, 15, 10, 30, 0);
    info.newLayout = newLayout;
    return technologyBlock(info, {}, {{stamp(2023, 12, 1, 8, 15, 37), stamp(2023, 12, 1, 8, 15, 2)}}, {}, {});
}

LocationRecord at(int hour, int minute, int second, quint8 status = 1)
{
    LocationRecord r;
    r.time = stamp(2024, 1, 31, hour, minute, second);
    r.longitude = 121303000;
    r.latitude = 25031234;
    r.height = -15;
    r.speed = 50;
    r.status = status;
    return r;
}

QByteArray locBlock()
{
    return locationBlock({at(8, 0, 5), at(8, 30, 0), at(9, 10, 0), at(8, 45, 0, 0)});
}

} // namespace

class TestReportPages : public QObject
{
    Q_OBJECT

private slots:
    void dayFileFillsThreePages();
    void sizeFailures_data();
    void sizeFailures();
    void failedLocationBlockForgetsTheStoredOne();
    void dumpsWithTheLogPage();
    void locationDumpNeedsGps();
    void fileTextsStayText();

private:
    static QString text(MainWindow &w, const char *browser)
    {
        return child<QTextBrowser>(w, browser)->toPlainText();
    }
    static QStringList infoRow(MainWindow &w, int row)
    {
        auto *table = child<QTableWidget>(w, "locationInfo_table");
        QStringList cells;
        for (int c = 0; c < table->columnCount(); ++c)
            cells << (table->item(row, c) ? table->item(row, c)->text() : QStringLiteral("<none>"));
        return cells;
    }
    static void parse(MainWindow &w, int dataId, const QByteArray &block)
    {
        const uchar *data = reinterpret_cast<const uchar *>(block.constData());
        if (dataId == FaultEventId)
            w.parseFaultEventData(block.constData(), uint(block.size()));
        else if (dataId == TechnologyId)
            w.parseTechnologyData(data, uint(block.size()));
        else
            w.parseLocationData(data, block.size());
    }
    static void showLogPage(MainWindow &w)
    {
        child<QAction>(w, "actionDebug")->setChecked(true);
        w.on_actionDebug_triggered(true);
    }

    QTemporaryDir tmp;
};

void TestReportPages::dayFileFillsThreePages()
{
    MainWindow w;
    ModalCloser closer;
    const QByteArray file = container({{TechnologyId, "DT_TECH_DATA", techBlock()},
                                       {FaultEventId, "DT_ERR_EVENT_DATA", faultBlock()},
                                       {LocationId, "DT_LOCATE_DATA", locBlock()}});
    w.readVdrFile(testsupport::writeFile(tmp.path(), dayFileName(QDate(2024, 1, 31)), file));
    QCOMPARE(closer.texts(), QStringList());

    auto *events = child<QTextBrowser>(w, "eventtextBrowser");
    QVERIFY(events->toPlainText().contains(mwTr("GPS Fail")));
    QCOMPARE(events->textCursor().position(), 0);

    auto *tech = child<QTextBrowser>(w, "techtextBrowser");
    QVERIFY(tech->toPlainText().contains("C730519286404-12345678"));
    QCOMPARE(tech->textCursor().position(), 0);
    QCOMPARE(child<AutoWrapLabel>(w, "carno_value")->fullText(), QStringLiteral("ABC-567"));

    auto *hours = child<QTableWidget>(w, "locationTime_table");
    auto *fixes = child<QTableWidget>(w, "locationInfo_table");
    QCOMPARE(hours->rowCount(), 2);
    QCOMPARE(hours->item(1, 1)->text(), QStringLiteral("2024/01/31 09:10:00"));
    hours->selectRow(0);
    QCOMPARE(fixes->rowCount(), 3);
    QCOMPARE(infoRow(w, 2), QStringList({"2024/01/31 08:45:00", "0", "0", "0", "50 km/h"}));
}

void TestReportPages::sizeFailures_data()
{
    QTest::addColumn<int>("dataId");
    QTest::addColumn<QByteArray>("block");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QStringList>("shown");    // texts on the page after the failure
    QTest::addColumn<QStringList>("notShown"); // texts not on it
    // English source texts: the catalogue is installed only once a window exists

    QTest::newRow("fault: events one byte over")
        << int(FaultEventId) << faultBlock() + 'x' << "DT_EVENT_DATA Data Size Error"
        << QStringList{"Error Record", "GPS Fail"} << QStringList{"Event Record"};
    // not an exact old layout: read with the new one
    QTest::newRow("tech: clock list cut")
        << int(TechnologyId) << techBlock(true).left(145) << "DT_TIME_CALIB_RAW Data Size Error"
        << QStringList{"Devcie Info", "Calibrate Miles"} << QStringList{"Calibrate Time"};
}

void TestReportPages::sizeFailures()
{
    QFETCH(int, dataId);
    QFETCH(QByteArray, block);
    QFETCH(QString, message);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, notShown);

    MainWindow w;
    ModalCloser closer;
    child<AutoWrapLabel>(w, "carno_value")->setText("OLD-1");
    parse(w, dataId, block);
    QCOMPARE(closer.texts(), QStringList(message));

    const QString page = text(w, dataId == FaultEventId ? "eventtextBrowser" : "techtextBrowser");
    for (const QString &t : shown)
        QVERIFY2(page.contains(mwTr(t.toUtf8().constData())), qPrintable(t));
    for (const QString &t : notShown)
        QVERIFY2(!page.contains(mwTr(t.toUtf8().constData())), qPrintable(t));
    if (dataId == TechnologyId) // the device record passed
        QCOMPARE(child<AutoWrapLabel>(w, "carno_value")->fullText(), QStringLiteral("ABC-567"));
}

void TestReportPages::failedLocationBlockForgetsTheStoredOne()
{
    MainWindow w;
    ModalCloser closer;
    auto *hours = child<QTableWidget>(w, "locationTime_table");
    auto *fixes = child<QTableWidget>(w, "locationInfo_table");
    parse(w, LocationId, locBlock());
    hours->selectRow(1);
    QCOMPARE(fixes->rowCount(), 1);

    // A second block of the wrong size: message, tables untouched, stored block gone.
    parse(w, LocationId, locBlock() + "zz");
    QCOMPARE(closer.texts(), QStringList("DT_LOCATE_DATA Data Size Error"));
    QCOMPARE(hours->rowCount(), 2);
    hours->selectRow(0);
    QCOMPARE(fixes->rowCount(), 1);
    QCOMPARE(infoRow(w, 0).first(), QStringLiteral("2024/01/31 09:10:00"));
}

void TestReportPages::dumpsWithTheLogPage()
{
    MainWindow w;
    ModalCloser closer;
    showLogPage(w);
    DebugCapture capture;
    parse(w, TechnologyId, techBlock().left(126));
    QVERIFY(capture.contains("Error-parseData_02_1 DataSize:126  ofsset:129 "));
    QCOMPARE(child<QTextBrowser>(w, "debugtextBrowser")->toPlainText().split('\n'),
             QStringList({"======= Technology Data =======", "DT_VENDOR_DATA Data Size Error"}));
}

void TestReportPages::locationDumpNeedsGps()
{
    MainWindow w;
    ModalCloser closer;
    showLogPage(w);
    auto *log = child<QTextBrowser>(w, "debugtextBrowser");

    parse(w, LocationId, locBlock());
    QCOMPARE(log->toPlainText(), QString());

    child<QAction>(w, "actiongps")->setChecked(true);
    parse(w, LocationId, locBlock());
    QStringList lines = log->toPlainText().split('\n');
    QCOMPARE(lines.mid(0, 4), QStringList({"Gps Data Count:4", "Time:2024/01/31 08:00:05",
                                           "[X:25.05000 Y:121.50000 H:-1.5 m S:50 km/h 1]", ""}));
    QCOMPARE(lines.size(), 1 + 4 * 3);
}

// Texts of a file that look like markup show as the text they are wherever they appear: the
// technology page, the log (a coloured line keeps its colour), the panel labels, the driver
// chart's legend, the print preview's heading and footer, and message boxes.
void TestReportPages::fileTextsStayText()
{
    MainWindow w;
    const QString boxText = QStringLiteral("<b>D20240131__.vdr</b>");
    Qt::TextFormat boxFormat = Qt::AutoText;
    QTimer::singleShot(0, [&] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            boxFormat = box->textFormat();
            box->accept();
        }
    });
    w.showMessage(boxText);
    QCOMPARE(boxFormat, Qt::PlainText);

    ModalCloser closer;
    showLogPage(w);
    DeviceInfo info;
    info.vendor = "<b>Tavrin</b> & Co";
    info.address = "<a href=\"file:///etc\">x</a>";
    info.carNo = "<i>ABC</i>-567";
    const QByteArray id = "<img src=\"a.png\">";
    SpeedRecord minute;
    minute.start = stamp(2024, 1, 31, 8, 0, 0);
    minute.speed.fill(50);
    const QByteArray file =
        container({{TechnologyId, "DT_TECH_DATA", technologyBlock(info, {}, {}, {}, {})},
                   {SpeedId, "DT_SPD_DATA", speedBlock({minute})},
                   {DrivingId, "DT_DRIVE_DATA",
                    drivingBlock({{id, drivingStatus(true, Driving, 1), stamp(2024, 1, 31, 8, 0, 0)},
                                  {id, drivingStatus(true, Resting, 1), stamp(2024, 1, 31, 9, 0, 0)}})}});
    const QString name = QStringLiteral("D20240131__<u>x.vdr");
    w.readVdrFile(testsupport::writeFile(tmp.path(), name, file));
    QCOMPARE(closer.texts(), QStringList());

    const QString page = text(w, "techtextBrowser");
    QVERIFY(page.contains("<b>Tavrin</b> & Co") && page.contains("<a href=\"file:///etc\">x</a>"));
    QVERIFY(page.contains("<i>ABC</i>-567"));

    const QTextBlock first = child<QTextBrowser>(w, "debugtextBrowser")->document()->firstBlock();
    QCOMPARE(first.text(), name);
    QCOMPARE(first.begin().fragment().charFormat().foreground().color(), QColor(QStringLiteral("green")));
    const QStringList log = text(w, "debugtextBrowser").split('\n');
    QVERIFY(log.contains(QStringLiteral("Address:        <a href=\"file:///etc\">x</a>")));
    QVERIFY(log.contains(QStringLiteral("ID:") + id +
                         QStringLiteral(" current:1 Master:1 Action:1 Time:2024/01/31 08:00:00")));

    w.updateSpeedCursor(QDateTime(QDate(2024, 1, 31), QTime(8, 0, 30)));
    for (const char *name : {"carno_value", "spd_driver_value"})
        QCOMPARE(child<QLabel>(w, name)->textFormat(), Qt::PlainText);
    QCOMPARE(child<AutoWrapLabel>(w, "carno_value")->fullText(), QStringLiteral("<i>ABC</i>-567"));
    QCOMPARE(child<QLabel>(w, "spd_driver_value")->text(), QString(id));

    w.resize(1600, 900);
    w.show();
    child<QTabWidget>(w, "tabWidget")->setCurrentWidget(child<QWidget>(w, "tab_chart"));
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QCoreApplication::processEvents();
    QStringList legend;
    auto *driverView = child<QWidget>(w, "driverWidget")->findChild<QChartView *>();
    for (QGraphicsItem *item : driverView->scene()->items()) {
        if (auto *label = dynamic_cast<QGraphicsTextItem *>(item))
            legend << label->toPlainText();
    }
    QVERIFY2(legend.contains(QString(id)), qPrintable(legend.join(", ")));

    std::unique_ptr<ZtPrintWidget> preview(w.openPrintPreview());
    for (const char *name : {"into1_label", "into2_label"})
        QCOMPARE(child<QLabel>(*preview, name)->textFormat(), Qt::PlainText);
    QVERIFY(child<QLabel>(*preview, "into1_label")->text().contains("<i>ABC</i>-567"));
    QVERIFY(child<QLabel>(*preview, "into2_label")->text().contains(QString(id)));
}

QTEST_MAIN(TestReportPages)
#include "tst_reportpages.moc"
