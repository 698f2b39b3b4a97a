#include "gui/app/ztapplication.h"

ZtApplication::ZtApplication(int &argc, char **argv) : QApplication(argc, argv) {}

bool ZtApplication::notify(QObject *receiver, QEvent *event)
{
    return QApplication::notify(receiver, event);
}
