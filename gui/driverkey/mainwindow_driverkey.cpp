// "USB ID" > "Create": the driver key file.
#include "gui/app/mainwindow.h"

#include "gui/driverkey/ztcreatedriverkeydialog.h"

void MainWindow::on_actionCreate_triggered()
{
    ZtCreateDriverKeyDialog dialog(this);
    dialog.exec();
}
