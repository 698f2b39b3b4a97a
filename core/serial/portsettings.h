#pragma once

#include <QString>

namespace serial {

// The port and line settings of a connection to the recorder, as the settings dialog and
// the command line give them. The numbers of the enumerations are those of the serial-port
// library's own (serial/serialport.h checks that they agree), so that a value converts
// straight to its setting. The defaults are the recorder's: 115200 baud, 8 data bits, one
// stop bit, no parity, no flow control.
struct PortSettings
{
    enum StopBits
    {
        OneStop = 1,
        OneAndHalfStop = 3,
        TwoStop = 2,
    };
    enum Parity
    {
        NoParity = 0,
        EvenParity = 2,
        OddParity = 3,
        SpaceParity = 4,
        MarkParity = 5,
    };
    enum FlowControl
    {
        NoFlowControl = 0,
        HardwareControl = 1,
        SoftwareControl = 2,
    };

    QString name;
    qint32 baudRate = 115200;
    int dataBits = 8; // 5 to 8
    StopBits stopBits = OneStop;
    Parity parity = NoParity;
    FlowControl flowControl = NoFlowControl;
};

} // namespace serial
