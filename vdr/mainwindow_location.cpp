// The "Location" page: the hour list and the fixes of the selected hour.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

#include "app/tablecaptions.h"
#include "vdr/location.h"

#include <QTextCursor>

namespace {

QTableWidgetItem *textItem(const QString &text)
{
    return new QTableWidgetItem(text);
}

} // namespace

void MainWindow::parseLocationData(const uchar *data, int size)
{
    if (isLogPageShown() && ui->actiongps->isChecked())
        dumpLocationData(data, size);
    locationBlock.clear();

    const vdr::LocationResult result = vdr::decodeLocationBlock(data, size);
    if (!result.ok()) {
        showMessage(result.message());
        return;
    }
    locationBlock = QByteArray(reinterpret_cast<const char *>(data), size);

    const QStringList hours = vdr::locationHourList(result);
    QTableWidget *table = ui->locationTime_table;
    table->setRowCount(hours.size());
    for (int row = 0; row < hours.size(); ++row) {
        table->setItem(row, 0, textItem(QString::number(row + 1)));
        table->setItem(row, 1, textItem(hours.at(row)));
    }
}

void MainWindow::dumpLocationData(const uchar *data, int size)
{
    const vdr::LocationResult result = vdr::decodeLocationBlock(data, size);
    const vdr::BlockDump dump = vdr::locationDump(result);
    if (!result.ok()) {
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
    const int row = ui->locationTime_table->currentRow();
    if (locationBlock.isEmpty())
        return;
    QTableWidget *table = ui->locationInfo_table;
    table->setRowCount(0);

    const vdr::LocationResult result = vdr::decodeLocationBlock(
        reinterpret_cast<const uchar *>(locationBlock.constData()), locationBlock.size());
    if (!result.ok()) {
        showMessage(result.message());
        return;
    }
    const QTableWidgetItem *hourItem = row < 0 ? nullptr : ui->locationTime_table->item(row, 1);
    if (!hourItem)
        return;

    const QVector<vdr::LocationRow> rows = vdr::locationRowsOfHour(result, hourItem->text());
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
