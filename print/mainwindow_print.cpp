// The speed report print preview.
#include "app/mainwindow.h"

void MainWindow::on_actionPrint_triggered() {}
