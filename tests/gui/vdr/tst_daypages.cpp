// The main window shows the day model: the messages, log lines and debug lines of a day's
// blocks in file order, what a failing block leaves, and that a day never shows what another day
// left behind. (tst_cliviewer compares the pages of a whole day with the tool's description.)
#include "gui/app/autowraplabel.h"
#include "gui/app/mainwindow.h"
#include "gui/print/ztprintwidget.h"

#include "support/fixtures.h"
#include "support/testsupport.h"

#include <QAction>
#include <QGraphicsTextItem>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
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
    info.newLayout = newLayout;
    return technologyBlock(info, {}, {{stamp(2023, 12, 1, 8, 15, 37), stamp(2023, 12, 1, 8, 15, 2)}}, {}, {});
}

LocationRecord fix(int hour, int minute, int second, quint8 status = 1)
{
    return {stamp(2024, 1, 31, hour, minute, second), 121303000, 25031234, -15, 50, status};
}

QByteArray locBlock()
{
    return locationBlock({fix(8, 0, 5), fix(8, 30, 0), fix(9, 10, 0), fix(8, 45, 0, 0)});
}

using fixtures::at;
using fixtures::driving;
using fixtures::speedMinute;

} // namespace

class TestDayPages : public QObject
{
    Q_OBJECT

private slots:
    // Each block in file order: its dump (log lines and debug lines, the decoders' own notes where
    // they were written), then its message or its page. What passed before a failure stays.
    void blocksInFileOrder()
    {
        MainWindow w;
        showLogPage(w);
        child<QAction>(w, "actionspeed")->setChecked(true);
        child<QAction>(w, "actiongps")->setChecked(true);
        ModalCloser closer;
        DebugCapture debug;
        const QVector<Block> blocks = {
            {TechnologyId, "T", techBlock(true).left(131)}, // new layout, no clock count
            {FaultEventId, "E", faultBlock() + 'x'},
            {SpeedId, "S", QByteArray(5, '\0')},
            {DrivingId, "D",
             drivingBlock({driving("A", 0, 8, 0), driving("A", 1, 8, 10)})}, // code 0: no total
            {DrivingId, "D", QByteArray(3, '\0')},
            {LocationId, "L", QByteArray(3, '\0')},
        };
        open(w, blocks);
        QCOMPARE(closer.texts(),
                 QStringList({"DT_TIME_CALIB_RAW Data Size Error", "DT_EVENT_DATA Data Size Error",
                              "DT_SPD_DATA Data Size Error", "DT_DRIVE_DATA Data Size Error",
                              "DT_LOCATE_DATA Data Size Error"}));

        const QString note = QStringLiteral("size diff (131 / 125) use new");
        QStringList expected = {"blockCnt : 6"};
        const QStringList notes[] = {{note, "Error-parseData_02_2 DataSize:131  ofsset:132 ", note},
                                     {"Error-parseData_00-2 DataSize:36  ofsset:35 "},
                                     {"Error-parseData_01 DataSize:5  ofsset:4 "},
                                     {"Error : driverActivityAddSec unkown type"},
                                     {"Error-parseData_03 DataSize:3  ofsset:2 "},
                                     {"Error-parseData_04 DataSize:3  ofsset:2 "}};
        for (int i = 0; i < blocks.size(); ++i)
            expected << QString::asprintf("dataID    : %d", blocks[i].dataId)
                     << "blockName : " + blocks[i].name
                     << QString::asprintf("dataSize  : %d", int(blocks[i].data.size())) << notes[i];
        expected << QString::asprintf("offset : %d", int(container(blocks).size() - 1));
        QStringList lines = debug.lines();
        QVERIFY(lines.takeFirst().startsWith("checksum caculate-result:"));
        QCOMPARE(lines, expected);

        QStringList log;
        for (const QString &line : text(w, "debugtextBrowser").split('\n'))
            if (line.contains("=======") || line.contains("Error") || line.contains("Count:"))
                log << line;
        QCOMPARE(log,
                 QStringList(
                     {"======= Technology Data =======", "Mile calibration Count:0",
                      "Time calibration Data Size Error", "======= Error&Event Data =======", "Error Count:1",
                      "DT_EVENT_DATA Data Size Error", "======= Speed Data =======", "Speed Data Size Error",
                      "======= Driving Data =======", "Drving Change Count:2", "======= Driving Data =======",
                      "Drving Change Data Size Error", "Gps Data Size Error"}));

        const QString tech = text(w, "techtextBrowser");
        QVERIFY(tech.contains(mwTr("Calibrate Miles")) && !tech.contains(mwTr("Calibrate Time")));
        const QString events = text(w, "eventtextBrowser");
        QVERIFY(events.contains(mwTr("GPS Fail")) && !events.contains(mwTr("Event Record")));
        // a device record that does not fit leaves the car number as it was
        auto *carNo = child<AutoWrapLabel>(w, "carno_value");
        QCOMPARE(carNo->fullText(), QStringLiteral("ABC-567"));
        const QByteArray cut = techBlock().left(100);
        w.parseTechnologyData(reinterpret_cast<const uchar *>(cut.constData()), uint(cut.size()));
        QCOMPARE(closer.texts().last(), QStringLiteral("DT_VENDOR_DATA Data Size Error"));
        QCOMPARE(carNo->fullText(), QStringLiteral("ABC-567"));
    }

    // A block of the wrong size after a sound one of its kind: its message, the page as it was, and
    // the stored block gone, so that nothing is filled again from it.
    void failedBlocksKeepThePages()
    {
        MainWindow w;
        ModalCloser closer;
        showLogPage(w); // without the "gps" option: no location dump
        const auto parse = [&w](quint8 id, const QByteArray &block) {
            const uchar *p = fixtures::bytes(block);
            id == SpeedId     ? w.parseSpeedData(p, block.size())
            : id == DrivingId ? w.parseDrivingData(p, block.size())
                              : w.parseLocationData(p, block.size());
        };
        const QByteArray speed = speedBlock({speedMinute(at(10, 15)), speedMinute(at(10, 16))});
        const QByteArray drive = drivingBlock({driving("A", 1, 8, 0), driving("A", 4, 8, 2)});
        parse(SpeedId, speed);
        parse(DrivingId, drive);
        parse(LocationId, locBlock());
        auto *minutes = child<QTableWidget>(w, "speedTime_table");
        auto *hours = child<QTableWidget>(w, "locationTime_table");
        auto *fixes = child<QTableWidget>(w, "locationInfo_table");
        hours->selectRow(1);
        QCOMPARE(fixes->rowCount(), 1);
        QLineSeries *driverLine = w.driverLine(2);
        const QString log = text(w, "debugtextBrowser");

        parse(SpeedId, speed + '\0');
        parse(DrivingId, drive + '\0');
        parse(LocationId, locBlock() + "zz");
        QCOMPARE(closer.texts(), QStringList({"DT_SPD_DATA Data Size Error", "DT_DRIVE_DATA Data Size Error",
                                              "DT_LOCATE_DATA Data Size Error"}));
        QCOMPARE(minutes->rowCount(), 2);
        QVERIFY(w.storedSpeed().records.isEmpty());
        minutes->setCurrentCell(1, 0);
        QCOMPARE(child<QTableWidget>(w, "speedInfo_table")->rowCount(), 0);
        QCOMPARE(w.driverLine(2), driverLine);
        QCOMPARE(w.driverChanges().size(), 2);
        QCOMPARE(hours->rowCount(), 2);
        hours->selectRow(0);
        QCOMPARE(fixes->rowCount(), 1);
        QCOMPARE(fixes->item(0, 0)->text(), QStringLiteral("2024/01/31 09:10:00"));
        QCOMPARE(text(w, "debugtextBrowser"),
                 log + "\n======= Driving Data =======\nDrving Change Data Size Error");
    }

    // Texts of a file that look like markup show as the text they are wherever they appear: the
    // technology page, the log (a coloured line keeps its colour), the panel labels, the driver
    // chart's legend, the print preview's heading and footer, and message boxes.
    void fileTextsStayText()
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
        const QString name = QStringLiteral("D20240131__<u>x.vdr");
        open(w,
             {{TechnologyId, "T", technologyBlock(info, {}, {}, {}, {})},
              {SpeedId, "S", speedBlock({speedMinute(at(8, 0))})},
              {DrivingId, "D", drivingBlock({driving(id, Driving, 8, 0), driving(id, Resting, 9, 0)})}},
             name);
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
        for (const char *label : {"carno_value", "spd_driver_value"})
            QCOMPARE(child<QLabel>(w, label)->textFormat(), Qt::PlainText);
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
        for (const char *label : {"into1_label", "into2_label"})
            QCOMPARE(child<QLabel>(*preview, label)->textFormat(), Qt::PlainText);
        QVERIFY(child<QLabel>(*preview, "into1_label")->text().contains("<i>ABC</i>-567"));
        QVERIFY(child<QLabel>(*preview, "into2_label")->text().contains(QString(id)));
    }

    // A day shows nothing of the day before it: not its speed samples under the cursor, nor its
    // driver totals.
    void nothingLeftOfThePreviousDay()
    {
        MainWindow w;
        ModalCloser closer;
        open(w,
             {{SpeedId, "S", speedBlock({speedMinute(at(10, 15), 40)})},
              {DrivingId, "D", drivingBlock({driving("A", 1, 8, 0), driving("A", 4, 9, 0)})}},
             "D20240131__A.vdr");
        const QDateTime t(QDate(2024, 1, 31), QTime(10, 15, 30));
        w.updateSpeedCursor(t);
        QCOMPARE(child<QLabel>(w, "spd_speed_value")->text(), QStringLiteral("40 km/h"));
        QCOMPARE(w.driverTotals(2)[vdr::TotalDriving], qint64(3600));

        open(w, {{FaultEventId, "E", faultBlock()}}, "D20240131__B.vdr");
        w.updateSpeedCursor(t);
        QCOMPARE(child<QLabel>(w, "spd_speed_value")->text(), QStringLiteral("0 km/h"));
        QCOMPARE(w.driverTotals(2), vdr::ActivityTotals{});
        QVERIFY(w.storedSpeed().records.isEmpty());
        QCOMPARE(closer.texts(), QStringList());
    }

    // A day opened while a message box of another one is up (the box runs the event loop) is the
    // one shown: the first stops instead of adding its later blocks to the new day's pages.
    void dayOpenedDuringAMessageStopsTheFirst()
    {
        MainWindow w;
        const QString second = testsupport::writeFile(tmp.path() + "/second", "D20240201__.vdr",
                                                      container({{LocationId, "L", locBlock()}}));
        QStringList messages;
        QTimer answer; // opens the second day from the first message box, then closes it
        connect(&answer, &QTimer::timeout, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            messages << box->text();
            if (messages.size() == 1)
                w.readVdrFile(second);
            box->button(QMessageBox::Ok)->click();
        });
        answer.start(5);
        open(w, {{SpeedId, "S", QByteArray(5, '\0')}, {TechnologyId, "T", techBlock()}});
        QCOMPARE(messages, QStringList("DT_SPD_DATA Data Size Error"));
        QCOMPARE(child<QLabel>(w, "date_value")->text(), QStringLiteral("2024/02/01"));
        QCOMPARE(text(w, "techtextBrowser"), QString());
        QCOMPARE(child<QTableWidget>(w, "locationTime_table")->rowCount(), 2);
        QCOMPARE(w.dayModel().fileName, QStringLiteral("D20240201__.vdr"));
    }

private:
    static QString text(MainWindow &w, const char *browser)
    {
        return child<QTextBrowser>(w, browser)->toPlainText();
    }
    static void showLogPage(MainWindow &w)
    {
        child<QAction>(w, "actionDebug")->setChecked(true);
        w.on_actionDebug_triggered(true);
    }
    QString open(MainWindow &w, const QVector<Block> &blocks, const QString &name = "D20240131__.vdr")
    {
        const QString path = testsupport::writeFile(tmp.path(), name, container(blocks));
        w.readVdrFile(path);
        return path;
    }

    QTemporaryDir tmp;
};

QTEST_MAIN(TestDayPages)
#include "tst_daypages.moc"
