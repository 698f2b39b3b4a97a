#pragma once

#include <QApplication>

class ZtApplication : public QApplication
{
public:
    ZtApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
