// The driving block in the main window: driver lines in the chart, the "Driver" panel, the
// minute table, the change list behind the speed cursor and the log dump.
#include "gui/app/mainwindow.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QComboBox>
#include <QLabel>
#include <QTableWidget>
#include <QtCharts/QChartView>
#include <QtCharts/QLineSeries>
#include <QtTest>

using testsupport::child;
using testsupport::ModalCloser;
using testsupport::mwTr;
using vdrenc::DrivingRecord;

namespace {

const QDate kDay(2024, 1, 31);

DrivingRecord rec(const QByteArray &id, int action, int hour, int minute, bool current = true,
                  const QDate &day = kDay)
{
    return {id, vdrenc::drivingStatus(current, action, 1),
            vdrenc::stamp(day.year(), day.month(), day.day(), hour, minute, 0)};
}

void parse(MainWindow &w, const QByteArray &block)
{
    w.parseDrivingData(reinterpret_cast<const uchar *>(block.constData()), block.size());
}

void parse(MainWindow &w, const QVector<DrivingRecord> &records)
{
    parse(w, vdrenc::drivingBlock(records));
}

QChart *driverChart(MainWindow &w)
{
    auto *view = child<QWidget>(w, "driverWidget")->findChild<QChartView *>();
    return view ? view->chart() : nullptr;
}

QStringList comboItems(MainWindow &w)
{
    auto *combo = child<QComboBox>(w, "id_comboBox");
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList panelTexts(MainWindow &w)
{
    return {child<QLabel>(w, "drivingtime_value")->text(), child<QLabel>(w, "stoptime_value")->text(),
            child<QLabel>(w, "standbytime_value")->text(), child<QLabel>(w, "restingtime_value")->text()};
}

QStringList tableRow(QTableWidget *table, int row)
{
    QStringList cells;
    for (int c = 0; c < table->columnCount(); ++c)
        cells << (table->item(row, c) ? table->item(row, c)->text() : QStringLiteral("<none>"));
    return cells;
}

} // namespace

class TestDriverPanel : public QObject
{
    Q_OBJECT

private slots:
    void threeDriversChooseThird();
    void longTotalsAndLongTable();
    void cursorDriverAndStatus();
    void minuteTableRows();

private:
    void setDay(MainWindow &w, const QDate &day)
    {
        auto *dates = child<QComboBox>(w, "date_comboBox");
        dates->clear();
        dates->addItem(day.toString(QStringLiteral("yyyy/MM/dd")));
    }
};

void TestDriverPanel::threeDriversChooseThird()
{
    MainWindow w;
    setDay(w, kDay);
    parse(w, {rec("C1", 1, 8, 0), rec("B2", 3, 8, 10), rec("C1", 4, 9, 0), rec("A3", 2, 9, 30),
              rec("A3", 4, 10, 0), rec("B2", 4, 11, 0)});

    QCOMPARE(comboItems(w), QStringList({"C1", "B2", "A3"}));
    QCOMPARE(panelTexts(w), QStringList({"01:00:00", "00:00:00", "00:00:00", "00:00:00"}));
    QCOMPARE(driverChart(w)->series().size(), 3);
    child<QComboBox>(w, "id_comboBox")->setCurrentIndex(2);
    QCOMPARE(w.driverLine(4)->pen().width(), 4); // the chosen driver's line is thick
    QCOMPARE(w.driverLine(2)->pen().width(), 1);
    QCOMPARE(panelTexts(w), QStringList({"00:00:00", "00:30:00", "00:00:00", "00:00:00"}));

    const QStringList zero{"00:00:00", "00:00:00", "00:00:00", "00:00:00"};
    child<QComboBox>(w, "id_comboBox")->clear(); // slot 1, always zero
    QCOMPARE(panelTexts(w), zero);
    w.clearAllPages();
    QVERIFY(w.driverChanges().isEmpty() && driverChart(w)->series().isEmpty());
    w.showDriverSummary(-1); // nothing to show
    w.showDriverSummary(9);  // no such slot: no colour, no time
    QCOMPARE(panelTexts(w), zero);
}

void TestDriverPanel::longTotalsAndLongTable()
{
    // 25 hours of standby show as 25:00:00; five drivers fill far more than 2880 rows, all kept.
    MainWindow w;
    setDay(w, kDay);
    const QByteArray ids[] = {"D1", "D2", "D3", "D4", "D5"};
    QVector<DrivingRecord> records;
    for (const QByteArray &id : ids)
        records << rec(id, 3, 0, 0);
    for (const QByteArray &id : ids)
        records << rec(id, 4, 1, 0, true, kDay.addDays(1));
    parse(w, records);
    QCOMPARE(panelTexts(w), QStringList({"00:00:00", "00:00:00", "25:00:00", "00:00:00"}));

    auto *table = child<QTableWidget>(w, "driverInfo_table");
    QCOMPARE(table->rowCount(), 5 * 25 * 60);
    QCOMPARE(tableRow(table, table->rowCount() - 1),
             QStringList({"D5", mwTr("Standby"), "2024/02/01 00:59:00"}));
}

void TestDriverPanel::cursorDriverAndStatus()
{
    MainWindow w;
    setDay(w, kDay);
    // A drives from 08:00; at 09:00 B takes the wheel and A stops; at 10:00 A rests.
    parse(w, {rec("A", 1, 8, 0), rec("A", 2, 9, 0, false), rec("B", 1, 9, 0), rec("A", 4, 10, 0, false),
              rec("B", 2, 10, 0), rec("B", 4, 10, 30)});
    const auto at = [](int h, int m, int msec = 0) { return QDateTime(kDay, QTime(h, m, 0, msec)); };

    const auto shown = [&](const QDateTime &t) {
        plot::SpeedCursor cursor;
        w.cursorDriverAt(t, cursor);
        return cursor.driver + '|' + cursor.status;
    };
    // at the change instant the earlier driver and the first pair of its line touching it
    QCOMPARE(shown(at(9, 0)), "A|" + mwTr("Driving"));
    QCOMPARE(shown(at(9, 0, 500)), "B|" + mwTr("Driving"));
    QCOMPARE(shown(at(10, 45)), QStringLiteral("|")); // after the last change: nobody, no status

    // A line without driver ID does not answer for a time with no driver change around it.
    w.clearAllPages();
    parse(w, {rec("", 1, 8, 0, false), rec("A", 3, 9, 0), rec("A", 3, 10, 0), rec("", 4, 12, 0, false)});
    QCOMPARE(comboItems(w), QStringList({"", "A"}));
    QCOMPARE(shown(at(8, 30)), QStringLiteral("|"));
    QCOMPARE(shown(at(9, 30)), "A|" + mwTr("Standby"));
}

void TestDriverPanel::minuteTableRows()
{
    MainWindow w;
    setDay(w, kDay);
    auto *table = child<QTableWidget>(w, "driverInfo_table");
    parse(w, {rec("A", 1, 8, 0), rec("A", 4, 8, 1), rec("A", 0, 8, 2), rec("A", 1, 8, 3)});
    QCOMPARE(table->rowCount(), 9);
    QCOMPARE(tableRow(table, 3), QStringList({"A", mwTr("Resting"), "2024/01/31 08:01:00"}));
    QCOMPARE(tableRow(table, 8), QStringList({"A", "", "2024/01/31 08:02:00"})); // level 5: no band

    // A shorter block overwrites the rows and cuts the rest.
    parse(w, {rec("B", 3, 9, 0), rec("B", 4, 9, 1)});
    QCOMPARE(table->rowCount(), 1);
    QCOMPARE(tableRow(table, 0), QStringList({"B", mwTr("Standby"), "2024/01/31 09:00:00"}));
}

QTEST_MAIN(TestDriverPanel)
#include "tst_driverpanel.moc"
