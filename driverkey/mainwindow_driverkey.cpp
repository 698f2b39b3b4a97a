// "USB ID" > "Create": the driver key file.
#include "app/mainwindow.h"

void MainWindow::on_actionCreate_triggered() {}
