#pragma once

// A QSerialPort for a download session: opened with PortSettings, its failures handed to the
// session. Inline, for the programs that link the serial-port module (the viewer and
// tavrin-vdr); the core library stays without it.
#include "core/serial/downloadsession.h"
#include "core/serial/portsettings.h"

#include <QDebug>
#include <QSerialPort>

namespace serial {

static_assert(int(PortSettings::OneStop) == int(QSerialPort::OneStop) &&
                  int(PortSettings::OneAndHalfStop) == int(QSerialPort::OneAndHalfStop) &&
                  int(PortSettings::TwoStop) == int(QSerialPort::TwoStop),
              "stop bits as the serial-port library numbers them");
static_assert(int(PortSettings::NoParity) == int(QSerialPort::NoParity) &&
                  int(PortSettings::EvenParity) == int(QSerialPort::EvenParity) &&
                  int(PortSettings::OddParity) == int(QSerialPort::OddParity) &&
                  int(PortSettings::SpaceParity) == int(QSerialPort::SpaceParity) &&
                  int(PortSettings::MarkParity) == int(QSerialPort::MarkParity),
              "parity as the serial-port library numbers it");
static_assert(int(PortSettings::NoFlowControl) == int(QSerialPort::NoFlowControl) &&
                  int(PortSettings::HardwareControl) == int(QSerialPort::HardwareControl) &&
                  int(PortSettings::SoftwareControl) == int(QSerialPort::SoftwareControl),
              "flow control as the serial-port library numbers it");

// Names the port, sets 9600 baud, opens it for reading and writing and then changes each
// setting (baud rate, data bits, stop bits, parity, flow control, in this order) that
// differs from the port's present one. A setting the port refuses closes it again, so that
// no download runs on a line set up wrongly. Writes the port's state to the debug output
// and returns whether this opened the port.
inline bool openPort(QSerialPort &port, const PortSettings &settings)
{
    port.setPortName(settings.name);
    port.setBaudRate(QSerialPort::Baud9600, QSerialPort::AllDirections);
    bool opened = port.open(QIODevice::ReadWrite);
    if (opened) {
        const auto dataBits = QSerialPort::DataBits(settings.dataBits);
        const auto stopBits = QSerialPort::StopBits(settings.stopBits);
        const auto parity = QSerialPort::Parity(settings.parity);
        const auto flow = QSerialPort::FlowControl(settings.flowControl);
        opened = (port.baudRate() == settings.baudRate ||
                  port.setBaudRate(settings.baudRate, QSerialPort::AllDirections)) &&
                 (port.dataBits() == dataBits || port.setDataBits(dataBits)) &&
                 (port.stopBits() == stopBits || port.setStopBits(stopBits)) &&
                 (port.parity() == parity || port.setParity(parity)) &&
                 (port.flowControl() == flow || port.setFlowControl(flow));
        if (!opened)
            port.close();
    }
    qDebug() << "open:" << opened;
    qDebug() << "portName:" << port.portName();
    qDebug() << "baudRate:" << port.baudRate();
    qDebug() << "dataBits:" << port.dataBits();
    qDebug() << "stopBits:" << port.stopBits();
    qDebug() << "parity:" << port.parity();
    qDebug() << "flowControl:" << port.flowControl();
    qDebug() << "serialPort error:" << port.error();
    return opened;
}

// Hands the port's failures while it is open (the device gone, a read or write error) to
// the session, once the port's own notification is over. Timeouts of the port's blocking
// waits are no failure.
inline QMetaObject::Connection reportPortErrors(QSerialPort &port, DownloadSession &session)
{
    return QObject::connect(
        &port, &QSerialPort::errorOccurred, &session,
        [&port, &session](QSerialPort::SerialPortError error) {
            if (error != QSerialPort::NoError && error != QSerialPort::TimeoutError && port.isOpen())
                session.deviceFailed(port.errorString());
        },
        Qt::QueuedConnection);
}

} // namespace serial
