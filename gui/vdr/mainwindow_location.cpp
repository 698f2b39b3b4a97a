// The "Location" page: the hour list and the fixes of the selected hour.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/vdr/location.h"
#include "gui/app/tablecaptions.h"

#include <QTextCursor>

namespace {

QTableWidgetItem *textItem(const QString &text)
{
    return new QTableWidgetItem(text);
}

} // namespace

void MainWindow::parseLocationData(const uchar *data, int size)
{
    parseLocationData(addLoneBlock(vdr::LocationBlock, data, quint32(qMax(size, 0))));
}

void MainWindow::parseLocationData(const vdr::BlockReport &block)
{
    if (isLogPageShown() && ui->actiongps->isChecked())
        dumpLocationData(block);
    updateRouteMap();
    if (!block.ok()) {
        showMessage(block.message());
        return;
    }
    const QStringList &hours = block.location.hours;
    QTableWidget *table = ui->locationTime_table;
    table->setRowCount(hours.size());
    for (int row = 0; row < hours.size(); ++row) {
        table->setItem(row, 0, textItem(QString::number(row + 1)));
        table->setItem(row, 1, textItem(hours.at(row)));
    }
}

void MainWindow::dumpLocationData(const vdr::BlockReport &block)
{
    const vdr::BlockDump dump = vdr::locationDump(block.location);
    if (!block.ok()) {
        appendLog(dump.lines.value(0), QColor(QStringLiteral("red")));
        qDebug("%s", qUtf8Printable(dump.debugLine));
        return;
    }
    for (const QString &line : dump.lines)
        appendLog(line, Qt::black);
    ui->debugtextBrowser->moveCursor(QTextCursor::Start);
}

QString MainWindow::gpsPointText(const uchar *fix) const
{
    return vdr::gpsPointText(vdr::locationPointAt(fix));
}

void MainWindow::setupLocationTables()
{
    QTableWidget *hours = ui->locationTime_table;
    QTableWidget *fixes = ui->locationInfo_table;
    for (QTableWidget *table : {hours, fixes}) {
        table->scrollToTop();
        table->clear();
        table->setRowCount(0);
        table->verticalHeader()->hide();
    }
    hours->setColumnCount(2);
    setTableCaptions(
        hours, {QT_TRANSLATE_NOOP("MainWindow", "index"), QT_TRANSLATE_NOOP("MainWindow", "Start Time")});
    hours->setColumnWidth(0, 80);
    hours->setColumnWidth(1, 180);

    fixes->setColumnCount(5);
    setTableCaptions(
        fixes, {QT_TRANSLATE_NOOP("MainWindow", "DateTime"), QT_TRANSLATE_NOOP("MainWindow", "Longitude"),
                QT_TRANSLATE_NOOP("MainWindow", "Latitude"), QT_TRANSLATE_NOOP("MainWindow", "High"),
                QT_TRANSLATE_NOOP("MainWindow", "Speed AVG")});
    const int widths[] = {180, 150, 150, 120, 100};
    for (int column = 0; column < 5; ++column)
        fixes->setColumnWidth(column, widths[column]);
}

void MainWindow::on_locationTime_table_itemSelectionChanged()
{
    // The hour list shows the day's last location block; when that one failed, nothing is stored.
    const int row = ui->locationTime_table->currentRow();
    const vdr::BlockReport *stored = day.lastBlock(vdr::LocationBlock);
    highlightRouteHour(row);
    if (!stored || !stored->ok())
        return;
    QTableWidget *table = ui->locationInfo_table;
    table->setRowCount(0);

    const QVector<vdr::LocationRow> rows = vdr::locationRowsOfHour(stored->location, row);
    table->setRowCount(rows.size());
    for (int r = 0; r < rows.size(); ++r) {
        const vdr::LocationRow &fix = rows.at(r);
        table->setItem(r, 0, textItem(fix.time));
        table->setItem(r, 1, textItem(fix.longitude));
        table->setItem(r, 2, textItem(fix.latitude));
        table->setItem(r, 3, textItem(fix.height));
        table->setItem(r, 4, textItem(fix.speed));
    }
}
