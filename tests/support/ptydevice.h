#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QSocketNotifier>
#include <QString>
#include <QTest>

#include <pty.h>
#include <termios.h>
#include <unistd.h>

// A pseudo-terminal that plays the device at the far end of the viewer's serial port: the
// viewer opens path(); what it writes arrives in received(), and send() writes to it.
class PtyDevice : public QObject
{
public:
    PtyDevice()
    {
        char name[256] = {};
        if (openpty(&master, &slave, name, nullptr, nullptr) != 0)
            return;
        termios tio{};
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
        devicePath = QString::fromLocal8Bit(name);
        notifier = new QSocketNotifier(master, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this, [this] {
            char buffer[4096];
            const ssize_t n = ::read(master, buffer, sizeof buffer);
            if (n > 0)
                bytes.append(buffer, int(n));
        });
    }
    ~PtyDevice() override
    {
        delete notifier;
        if (master >= 0)
            ::close(master);
        if (slave >= 0)
            ::close(slave);
    }

    QString path() const { return devicePath; }
    // The device vanishes: the master side closes, as when a USB adapter is pulled.
    void hangUp()
    {
        delete notifier;
        notifier = nullptr;
        if (master >= 0)
            ::close(master);
        master = -1;
    }
    // The line holds: nothing the program writes leaves its side, as when flow control
    // stops it.
    void holdOutput() { tcflow(slave, TCOOFF); }
    QByteArray received() const { return bytes; }
    void clear() { bytes.clear(); }
    void send(const QByteArray &data)
    {
        QVERIFY(::write(master, data.constData(), size_t(data.size())) == data.size());
    }

    // The 13-byte requests received so far.
    QList<QByteArray> requests() const
    {
        QList<QByteArray> list;
        for (int at = 0; at + 13 <= bytes.size(); at += 13)
            list.append(bytes.mid(at, 13));
        return list;
    }
    // Runs the event loop until `count` requests have arrived (or 5 s passed).
    bool waitForRequests(int count)
    {
        QElapsedTimer timer;
        timer.start();
        while (bytes.size() < 13 * count && timer.elapsed() < 5000)
            QTest::qWait(5);
        QTest::qWait(20); // and nothing more arrives meanwhile
        return bytes.size() == 13 * count;
    }

private:
    int master = -1;
    int slave = -1;
    QString devicePath;
    QByteArray bytes;
    QSocketNotifier *notifier = nullptr;
};
