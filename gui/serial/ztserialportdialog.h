#pragma once

#include "core/serial/portsettings.h"

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

    // The chosen port and settings: entry i of a list is key i of its enumeration.
    serial::PortSettings settings() const;
    // Opens the port with the chosen settings (serial::openPort); returns whether it is open.
    bool openSerialPort(QSerialPort *port);

private:
    Ui::ZtSerialPortDialog *ui;
};
