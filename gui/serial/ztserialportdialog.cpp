#include "gui/serial/ztserialportdialog.h"
#include "ui_ztserialportdialog.h"

#include "core/serial/serialport.h"

#include <QComboBox>
#include <QMetaEnum>
#include <QSerialPort>
#include <QSerialPortInfo>

namespace {

// The enumeration's keys in declaration order, without the unknown value (-1).
template <typename E> QVector<int> knownValues()
{
    const QMetaEnum meta = QMetaEnum::fromType<E>();
    QVector<int> values;
    for (int i = 0; i < meta.keyCount(); ++i) {
        if (meta.value(i) != -1)
            values.append(meta.value(i));
    }
    return values;
}

template <typename E> void fillNumbers(QComboBox *box, const char *defaultKey)
{
    const QMetaEnum meta = QMetaEnum::fromType<E>();
    for (int value : knownValues<E>())
        box->addItem(QString::number(value));
    box->setCurrentIndex(knownValues<E>().indexOf(meta.keyToValue(defaultKey)));
}

template <typename E> void fillKeys(QComboBox *box, const char *defaultKey)
{
    const QMetaEnum meta = QMetaEnum::fromType<E>();
    for (int value : knownValues<E>())
        box->addItem(QLatin1String(meta.valueToKey(value)));
    box->setCurrentIndex(knownValues<E>().indexOf(meta.keyToValue(defaultKey)));
}

template <typename E> E chosen(const QComboBox *box)
{
    const QVector<int> values = knownValues<E>();
    const int index = box->currentIndex();
    return E(index >= 0 && index < values.size() ? values[index] : values.value(0));
}

} // namespace

ZtSerialPortDialog::ZtSerialPortDialog(QWidget *parent) : QDialog(parent), ui(new Ui::ZtSerialPortDialog)
{
    ui->setupUi(this);
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports)
        ui->port_comboBox->addItem(info.portName());
    // A device the system does not list (an adapter under an unusual name, a simulator's
    // pseudo-terminal) can be typed in; the listed ports stay the entries.
    ui->port_comboBox->setEditable(true);
    ui->port_comboBox->setInsertPolicy(QComboBox::NoInsert);
    fillNumbers<QSerialPort::BaudRate>(ui->baudrate_comboBox, "Baud115200");
    fillNumbers<QSerialPort::DataBits>(ui->databits_comboBox, "Data8");
    fillNumbers<QSerialPort::StopBits>(ui->stopbits_comboBox, "OneStop");
    fillKeys<QSerialPort::Parity>(ui->parity_comboBox, "NoParity");
    fillKeys<QSerialPort::FlowControl>(ui->flowcontrol_comboBox, "NoFlowControl");
}

ZtSerialPortDialog::~ZtSerialPortDialog()
{
    delete ui;
}

serial::PortSettings ZtSerialPortDialog::settings() const
{
    serial::PortSettings settings;
    settings.name = ui->port_comboBox->currentText();
    settings.baudRate = chosen<QSerialPort::BaudRate>(ui->baudrate_comboBox);
    settings.dataBits = chosen<QSerialPort::DataBits>(ui->databits_comboBox);
    settings.stopBits = serial::PortSettings::StopBits(chosen<QSerialPort::StopBits>(ui->stopbits_comboBox));
    settings.parity = serial::PortSettings::Parity(chosen<QSerialPort::Parity>(ui->parity_comboBox));
    settings.flowControl =
        serial::PortSettings::FlowControl(chosen<QSerialPort::FlowControl>(ui->flowcontrol_comboBox));
    return settings;
}

bool ZtSerialPortDialog::openSerialPort(QSerialPort *port)
{
    return serial::openPort(*port, settings());
}
