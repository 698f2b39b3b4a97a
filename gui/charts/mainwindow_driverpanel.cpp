// The "Driver" panel: the driver list, the four activity totals and the driver lines.
#include "gui/app/mainwindow.h"
#include "ui_mainwindow.h"

#include "core/charts/plotmodel.h"
#include "core/vdr/driving.h"

#include <QtCharts/QCategoryAxis>
#include <QtCharts/QLineSeries>

#include <algorithm>

// A click on a driver line chooses its driver: slots 0 and 1 stand for entries 0 and 1,
// slot s >= 2 for entry s - 2.
void MainWindow::DriveQLinePress_0(QPointF)
{
    ui->id_comboBox->setCurrentIndex(0);
}

void MainWindow::DriveQLinePress_1(QPointF)
{
    ui->id_comboBox->setCurrentIndex(1);
}

void MainWindow::DriveQLinePress_2(QPointF)
{
    ui->id_comboBox->setCurrentIndex(0);
}

void MainWindow::DriveQLinePress_3(QPointF)
{
    ui->id_comboBox->setCurrentIndex(1);
}

void MainWindow::DriveQLinePress_4(QPointF)
{
    ui->id_comboBox->setCurrentIndex(2);
}

void MainWindow::DriveQLinePress_5(QPointF)
{
    ui->id_comboBox->setCurrentIndex(3);
}

void MainWindow::DriveQLinePress_6(QPointF)
{
    ui->id_comboBox->setCurrentIndex(4);
}

void MainWindow::on_id_comboBox_currentIndexChanged(int index)
{
    showDriverSummary(index + vdr::kFirstDriverSlot);
    const int lastSlot = std::min(ui->id_comboBox->count() + 1, vdr::kDriverSlotCount - 1);
    for (int s = vdr::kFirstDriverSlot; s <= lastSlot; ++s) {
        if (!driverSeries[s])
            continue;
        QPen pen = driverSeries[s]->pen();
        pen.setWidth(s == index + vdr::kFirstDriverSlot ? 4 : 1);
        driverSeries[s]->setPen(pen);
    }
}

void MainWindow::showDriverSummary(int slot)
{
    if (slot < 0)
        return;
    QColor colour(255, 250, 250);
    if (slot >= vdr::kFirstDriverSlot && slot < vdr::kDriverSlotCount && driverSeries[slot])
        colour = driverSeries[slot]->pen().color();
    ui->id_title->setStyleSheet(
        QString::asprintf("margin-left: 2px;  background-color: transparent; color:rgb(%d, %d, %d)",
                          colour.red(), colour.green(), colour.blue()));

    const vdr::ActivityTotals totals = driverTotals(slot);
    ui->drivingtime_value->setText(vdr::durationText(totals[vdr::TotalDriving]));
    ui->stoptime_value->setText(vdr::durationText(totals[vdr::TotalStopping]));
    ui->standbytime_value->setText(vdr::durationText(totals[vdr::TotalStandby]));
    ui->restingtime_value->setText(vdr::durationText(totals[vdr::TotalResting]));
}

QLineSeries *MainWindow::driverLine(int slot) const
{
    return slot >= 0 && slot < vdr::kDriverSlotCount ? driverSeries[slot] : nullptr;
}

vdr::ActivityTotals MainWindow::driverTotals(int slot) const
{
    // The totals of the block whose lines the chart shows.
    const vdr::BlockReport *shown = dayModel().lastSoundBlock(vdr::DrivingBlock);
    if (!shown || slot < 0 || slot >= vdr::kDriverSlotCount)
        return {};
    return shown->driving.lines[size_t(slot)].totals;
}

QStringList MainWindow::driverActivityLabels() const
{
    // The chart's category labels, so the texts follow the axis; the same names in the
    // current language while there is no chart.
    if (driverAxisY && driverAxisY->categoriesLabels().size() == 4)
        return driverAxisY->categoriesLabels();
    return vdr::defaultActivityLabels();
}

// Steps of the speed cursor: the driver at t from the change list, then that driver's
// activity at t from the first line of that name.
void MainWindow::cursorDriverAt(const QDateTime &t, plot::SpeedCursor &cursor) const
{
    const int change = vdr::driverChangeAt(driverChanges(), t);
    cursor.driver = change < 0 ? QString() : driverChanges().at(change).id;
    cursor.status.clear();
    // With no driver change around t nobody is named, and no line is asked (a driver whose ID
    // is empty would otherwise answer for "nobody").
    if (change < 0)
        return;
    for (QLineSeries *series : driverSeries) {
        if (!series || series->name() != cursor.driver)
            continue;
        cursor.status = vdr::activityLabel(
            driverActivityLabels(), vdr::levelAt(qtcompat::seriesPoints(series), t.toMSecsSinceEpoch()));
        break;
    }
}
