// The "Driver Info." page and the driving records behind the driver chart.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/driving.h"
#include "gui/app/tablecaptions.h"

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

// Written to the debug output for each step that adds its seconds to no activity.
const char kUnknownActivity[] = "Error : driverActivityAddSec unkown type";

} // namespace

void MainWindow::parseDrivingData(const uchar *data, int size)
{
    parseDrivingData(addLoneBlock(vdr::DrivingBlock, data, quint32(qMax(size, 0))));
}

void MainWindow::parseDrivingData(const vdr::BlockReport &block)
{
    if (isLogPageShown())
        dumpDrivingData(block);
    const vdr::DrivingData &driving = block.driving;
    for (int i = 0; i < driving.unknownActions; ++i)
        qDebug("%s", kUnknownActivity);
    if (!block.ok()) {
        showMessage(block.message());
        return;
    }

    resetDriverSeries();

    // The first record sets the chart's day, whichever driver it belongs to.
    if (driving.count > 0 && day.day().isValid())
        setChartDay(day.day());

    // Each line gets all its points at once, before it is attached to the chart.
    for (int s = vdr::kFirstDriverSlot; s < vdr::kDriverSlotCount; ++s) {
        const vdr::DriverLine &line = driving.lines[size_t(s)];
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

    showDriverSummary(2);

    if (driving.count == 0)
        return;

    // The minute table, sized to the rows it gets.
    const QStringList labels = driverActivityLabels();
    QTableWidget *table = ui->driverInfo_table;
    table->setUpdatesEnabled(false);
    table->setRowCount(driving.minuteRows.size());
    for (int r = 0; r < driving.minuteRows.size(); ++r) {
        const vdr::MinuteRow &row = driving.minuteRows.at(r);
        table->setItem(r, 0, new QTableWidgetItem(driving.lines[size_t(row.slot)].name));
        table->setItem(r, 1, new QTableWidgetItem(vdr::activityLabel(labels, row.level)));
        table->setItem(r, 2, new QTableWidgetItem(driving.minuteTimes.at(r)));
    }
    table->setUpdatesEnabled(true);
}

void MainWindow::fillDriverTableTexts()
{
    // The table shows the rows of the last sound driving block that has records.
    const vdr::DrivingData *shown = nullptr;
    for (const vdr::BlockReport &block : qAsConst(day.blocks))
        if (block.info.dataId == vdr::DrivingBlock && block.ok() && block.driving.count > 0)
            shown = &block.driving;
    QTableWidget *table = ui->driverInfo_table;
    if (!shown || table->rowCount() != shown->minuteRows.size())
        return;
    const QStringList labels = driverActivityLabels();
    for (int r = 0; r < shown->minuteRows.size(); ++r)
        if (QTableWidgetItem *item = table->item(r, 1))
            item->setText(vdr::activityLabel(labels, shown->minuteRows.at(r).level));
}

void MainWindow::resetDriverSeries()
{
    dropDriverSeries();
    for (int s = 0; s < vdr::kDriverSlotCount; ++s) {
        const DriverSlotLook &look = kDriverSlots[s];
        auto *series = new QLineSeries;
        series->setName(QString::fromUtf8(look.name));
        series->setPen(QPen(QBrush(look.colour), 1, look.style, Qt::SquareCap, Qt::BevelJoin));
        connect(series, &QLineSeries::pressed, this, look.pressed);
        driverSeries[s] = series;
    }
}

void MainWindow::dumpDrivingData(const vdr::BlockReport &block)
{
    showDump(QStringLiteral("======= Driving Data ======="), vdr::drivingDump(block.driving));
}

void MainWindow::driverActivityAddSec(vdr::ActivityTotals &totals, qint64 seconds, qint8 code)
{
    if (!vdr::driverActivityAddSec(totals, seconds, code))
        qDebug("%s", kUnknownActivity);
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
