// The "Speed Info." page: the minute table and the half-second table; the speed line of the
// chart and the speed dump of the log page.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/speed.h"
#include "gui/app/tablecaptions.h"

namespace {

QTableWidgetItem *cell(const QString &text)
{
    return new QTableWidgetItem(text);
}

} // namespace

void MainWindow::parseSpeedData(const uchar *data, int size)
{
    parseSpeedData(addLoneBlock(vdr::SpeedBlock, data, quint32(qMax(size, 0))));
}

void MainWindow::parseSpeedData(const vdr::BlockReport &block)
{
    if (isLogPageShown() && ui->actionspeed->isChecked())
        dumpSpeedData(block);
    if (!block.ok()) {
        showMessage(block.message());
        return;
    }
    const vdr::SpeedResult &speed = block.speed;

    const int n = int(speed.records.count());
    ui->speedTime_table->setRowCount(n);
    if (n > 0 && day.day().isValid())
        setChartDay(day.day());
    for (int i = 0; i < n; ++i) {
        ui->speedTime_table->setItem(i, 0, cell(QString::number(i + 1)));
        ui->speedTime_table->setItem(i, 1, cell(speed.records.startText(i)));
    }

    // Every point of the line; the chart draws the part of it on screen.
    showSpeedLine(vdr::speedChartPoints(speed.records, speed.starts, plot::kSpeedAxisMax));
}

void MainWindow::dumpSpeedData(const vdr::BlockReport &block)
{
    showDump(QStringLiteral("======= Speed Data ======="), vdr::speedDump(block.speed));
}

const vdr::SpeedResult &MainWindow::storedSpeed() const
{
    static const vdr::SpeedResult none;
    const vdr::BlockReport *last = day.lastBlock(vdr::SpeedBlock);
    return last && last->ok() ? last->speed : none;
}

void MainWindow::initSpeedTables()
{
    QTableWidget *minutes = ui->speedTime_table;
    minutes->scrollToTop();
    minutes->clear();
    minutes->setColumnCount(2);
    minutes->setRowCount(0);
    setTableCaptions(
        minutes, {QT_TRANSLATE_NOOP("MainWindow", "index"), QT_TRANSLATE_NOOP("MainWindow", "Start Time")});
    minutes->verticalHeader()->hide();
    minutes->setColumnWidth(0, 80);
    minutes->setColumnWidth(1, 180);

    QTableWidget *samples = ui->speedInfo_table;
    samples->scrollToTop();
    samples->clear();
    samples->setColumnCount(3);
    samples->setRowCount(0);
    setTableCaptions(samples, {QT_TRANSLATE_NOOP("MainWindow", "DateTime"),
                               QT_TRANSLATE_NOOP("MainWindow", "Speed (0.5sec)"),
                               QT_TRANSLATE_NOOP("MainWindow", "Mileage(km)")});
    samples->verticalHeader()->hide();
    samples->setColumnWidth(0, 220);
    samples->setColumnWidth(1, 140);
    samples->setColumnWidth(2, 160);
}

void MainWindow::on_speedTime_table_itemSelectionChanged()
{
    const int r = ui->speedTime_table->currentRow();
    const vdr::SpeedRecords &block = storedSpeed().records;
    if (block.isEmpty())
        return;
    QTableWidget *samples = ui->speedInfo_table;
    samples->setRowCount(0);
    samples->setRowCount(vdr::kSpeedSamples);
    if (r < 0 || qint64(r) >= qint64(block.count())) {
        samples->setRowCount(0);
        return;
    }
    const QVector<vdr::SpeedRow> rows = vdr::speedRows(block, r);
    for (int k = 0; k < rows.size(); ++k) {
        samples->setItem(k, 0, cell(rows[k].time));
        samples->setItem(k, 1, cell(rows[k].speed));
        samples->setItem(k, 2, cell(rows[k].mileage));
    }
    samples->setRowCount(rows.size());
}
