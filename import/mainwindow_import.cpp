// The date list, folder import and tar archive import.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::on_importFloder_clicked() {}

void MainWindow::on_importTar_clicked() {}

void MainWindow::OnParseTarFileLater() {}

void MainWindow::on_date_comboBox_currentIndexChanged(int index)
{
    Q_UNUSED(index)
}
