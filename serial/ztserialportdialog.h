#pragma once

#include <QDialog>

class QSerialPort;

namespace Ui {
class ZtSerialPortDialog;
}

// The port and line settings of a connection to the recorder. The setting lists are the
// serial-port library's own enumerations, key by key; every connection starts from the
// defaults 115200 baud, 8 data bits, one stop bit, no parity, no flow control.
class ZtSerialPortDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ZtSerialPortDialog(QWidget *parent = nullptr);
    ~ZtSerialPortDialog() override;

    // Opens the port chosen in the list with the chosen settings.
    bool openSerialPort(QSerialPort *port);
    // Opens the named port with the chosen settings; returns whether it is open.
    bool openSerialPortNamed(QSerialPort *port, const QString &portName);

    QString selectedPortName() const;

private:
    Ui::ZtSerialPortDialog *ui;
};
