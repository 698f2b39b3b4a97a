// "USB ID" > "Create": the driver key file.
#include "app/mainwindow.h"

#include "driverkey/ztcreatedriverkeydialog.h"

void MainWindow::on_actionCreate_triggered()
{
    ZtCreateDriverKeyDialog dialog(this);
    dialog.exec();
}
