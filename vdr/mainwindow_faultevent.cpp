// The "Fault & Event" page.
#include "app/mainwindow.h"
#include "ui_mainwindow.h"

void MainWindow::parseFaultEventData(const char *data, uint size)
{
    Q_UNUSED(data)
    qDebug("fault and event block: %u bytes", size);
}
