// The "Speed Info." page: the minute table and the half-second table; the speed line of the
// chart and the speed dump of the log page.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/tablecaptions.h"
#include "vdr/speed.h"

namespace {

QTableWidgetItem *cell(const QString &text)
{
    return new QTableWidgetItem(text);
}

} // namespace

void MainWindow::parseSpeedData(const uchar *data, int size)
{
    if (isLogPageShown() && ui->actionspeed->isChecked())
        dumpSpeedData(data, size);

    speedData.clear();
    speedStarts.clear();

    const vdr::SpeedRecords block(data, size);
    if (!block.sizeOk()) {
        showMessage(QStringLiteral("DT_SPD_DATA Data Size Error"));
        return;
    }
    speedData = QByteArray(reinterpret_cast<const char *>(data), size);
    const vdr::SpeedRecords stored(reinterpret_cast<const uchar *>(speedData.constData()), speedData.size());
    speedStarts = vdr::speedRecordStarts(stored);

    const int n = int(stored.count());
    ui->speedTime_table->setRowCount(n);
    if (n > 0) {
        const QDate day = QDate::fromString(ui->date_comboBox->currentText(), QStringLiteral("yyyy/MM/dd"));
        if (day.isValid())
            setChartDay(day);
    }
    for (int i = 0; i < n; ++i) {
        ui->speedTime_table->setItem(i, 0, cell(QString::number(i + 1)));
        ui->speedTime_table->setItem(i, 1, cell(stored.startText(i)));
    }

    // Every point of the line; the chart draws the part of it on screen.
    showSpeedLine(vdr::speedChartPoints(stored, speedStarts, plot::kSpeedAxisMax));
}

void MainWindow::dumpSpeedData(const uchar *data, int size)
{
    appendLog(QStringLiteral("======= Speed Data ======="), QColor(QStringLiteral("blue")));
    const vdr::SpeedRecords block(data, size);
    if (!block.sizeOk()) {
        appendLog(QStringLiteral("Speed Data Size Error"), Qt::black);
        qDebug("Error-parseData_01 DataSize:%d  ofsset:%lld ", size, block.expectedSize());
        return;
    }
    for (const QString &entry : vdr::speedDumpLines(block))
        appendLog(entry, Qt::black);
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
    if (speedData.isEmpty())
        return;
    QTableWidget *samples = ui->speedInfo_table;
    samples->setRowCount(0);
    samples->setRowCount(vdr::kSpeedSamples);

    const vdr::SpeedRecords block(reinterpret_cast<const uchar *>(speedData.constData()), speedData.size());
    if (!block.sizeOk()) {
        showMessage(QStringLiteral("DT_SPD_DATA Data Size Error"));
        return;
    }
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
