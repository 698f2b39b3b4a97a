// The "Driver Info." page and the driving records behind the driver chart.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/tablecaptions.h"
#include "vdr/driving.h"

#include <QHeaderView>
#include <QtCharts/QLineSeries>

namespace {

// The seven line slots of the driver chart: fixed names for slots 0 and 1, the pen of each
// slot and the slot its pressed signal goes to.
struct DriverSlotLook
{
    const char *name; // UTF-8; slots 2..6 get the driver's ID
    Qt::GlobalColor colour;
    Qt::PenStyle style;
    void (MainWindow::*pressed)(QPointF);
};

const DriverSlotLook kDriverSlots[vdr::kDriverSlotCount] = {
    {"\xE4\xB8\xBB\xE9\xA7\x95\xE9\xA7\x9B", Qt::black, Qt::DashLine,
     &MainWindow::DriveQLinePress_0}, // main driver
    {"\xE5\x89\xAF\xE9\xA7\x95\xE9\xA7\x9B", Qt::black, Qt::DotLine,
     &MainWindow::DriveQLinePress_1}, // co-driver
    {"", Qt::darkBlue, Qt::SolidLine, &MainWindow::DriveQLinePress_2},
    {"", Qt::green, Qt::SolidLine, &MainWindow::DriveQLinePress_3},
    {"", Qt::darkYellow, Qt::SolidLine, &MainWindow::DriveQLinePress_4},
    {"", Qt::darkRed, Qt::SolidLine, &MainWindow::DriveQLinePress_5},
    {"", Qt::darkGray, Qt::SolidLine, &MainWindow::DriveQLinePress_6},
};

} // namespace

void MainWindow::parseDrivingData(const uchar *data, int size)
{
    if (isLogPageShown())
        dumpDrivingData(data, size);

    const vdr::DrivingData block = vdr::decodeDrivingBlock(data, size);
    if (!block.sizeOk) {
        showMessage(QStringLiteral("DT_DRIVE_DATA Data Size Error"));
        return;
    }

    resetDriverSeries();

    // The first record sets the chart's day, whichever driver it belongs to.
    if (block.count > 0) {
        const QDate day = QDate::fromString(ui->date_comboBox->currentText(), QStringLiteral("yyyy/MM/dd"));
        if (day.isValid())
            setChartDay(day);
    }

    // Each line gets all its points at once, before it is attached to the chart.
    for (int s = vdr::kFirstDriverSlot; s < vdr::kDriverSlotCount; ++s) {
        const vdr::DriverLine &line = block.lines[size_t(s)];
        driverStateSeconds[s] = line.totals;
        driverSeries[s]->setName(line.name);
        driverSeries[s]->replace(line.points);
    }

    for (int s = 0; s < vdr::kDriverSlotCount; ++s) {
        QLineSeries *series = driverSeries[s];
        if (series->count() == 0)
            continue;
        ui->id_comboBox->addItem(series->name());
        showDriverLine(series);
    }

    vdr::appendDriverChanges(driverChangeList, block);

    showDriverSummary(2);

    if (block.count == 0)
        return;

    // The minute table, sized to the rows it gets.
    const QVector<vdr::MinuteRow> rows = vdr::minuteRows(block);
    const QVector<QString> times = vdr::minuteTexts(rows);
    const QStringList labels = driverActivityLabels();
    QTableWidget *table = ui->driverInfo_table;
    table->setUpdatesEnabled(false);
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const vdr::MinuteRow &row = rows.at(r);
        table->setItem(r, 0, new QTableWidgetItem(driverSeries[row.slot]->name()));
        table->setItem(r, 1, new QTableWidgetItem(vdr::activityLabel(labels, row.level)));
        table->setItem(r, 2, new QTableWidgetItem(times.at(r)));
    }
    table->setUpdatesEnabled(true);
}

void MainWindow::resetDriverSeries()
{
    dropDriverSeries();
    for (vdr::ActivityTotals &totals : driverStateSeconds)
        totals.fill(0);

    for (int s = 0; s < vdr::kDriverSlotCount; ++s) {
        const DriverSlotLook &look = kDriverSlots[s];
        auto *series = new QLineSeries;
        series->setName(QString::fromUtf8(look.name));
        series->setPen(QPen(QBrush(look.colour), 1, look.style, Qt::SquareCap, Qt::BevelJoin));
        connect(series, &QLineSeries::pressed, this, look.pressed);
        driverSeries[s] = series;
    }
}

void MainWindow::dumpDrivingData(const uchar *data, int size)
{
    appendLog(QStringLiteral("======= Driving Data ======="), QColor(QStringLiteral("blue")));
    const vdr::DrivingData block = vdr::decodeDrivingRecords(data, size);
    for (const QString &line : vdr::drivingDumpLines(block))
        appendLog(line, Qt::black);
    if (!block.sizeOk)
        qDebug("Error-parseData_03 DataSize:%d  ofsset:%d ", size, int(block.expectedSize));
}

void MainWindow::driverActivityAddSec(vdr::ActivityTotals &totals, qint64 seconds, qint8 code)
{
    vdr::driverActivityAddSec(totals, seconds, code);
}

void MainWindow::initDriverTable()
{
    QTableWidget *table = ui->driverInfo_table;
    table->scrollToTop();
    table->clear();
    table->setColumnCount(3);
    table->setRowCount(0);
    setTableCaptions(table,
                     {QT_TRANSLATE_NOOP("MainWindow", "ID"), QT_TRANSLATE_NOOP("MainWindow", "Change Action"),
                      QT_TRANSLATE_NOOP("MainWindow", "Change Time")});
    table->verticalHeader()->hide();
    table->setColumnWidth(0, 180);
    table->setColumnWidth(1, 150);
    table->setColumnWidth(2, 220);
}
