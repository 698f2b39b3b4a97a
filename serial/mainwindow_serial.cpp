// The serial link: connection, the choice of days and the download from the recorder.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::setConnectionState(bool connected)
{
    ui->rs232->setText(connected ? tr("Disconnet...") : tr("Connet RS232..."));
    ui->importTar->setEnabled(!connected);
    ui->date->setVisible(connected);
    ui->recenttime->setVisible(connected);
}

void MainWindow::on_rs232_clicked() {}

void MainWindow::on_date_clicked() {}

void MainWindow::on_recenttime_clicked() {}

void MainWindow::onCalendarDate_clicked(QDate day)
{
    Q_UNUSED(day)
}

void MainWindow::onRecentTime_slot(bool confirm)
{
    Q_UNUSED(confirm)
}

void MainWindow::readyReadSlot() {}
