#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The project's recorder simulator (tools/recorder-sim) as a child process serving a folder
// of day files on a pseudo-terminal; its first output line is the device path. Tests that use
// it define TAVRIN_RECORDER_SIM as the simulator's path.
class Simulator
{
public:
    bool start(const QString &dir, const QStringList &switches)
    {
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process.start(QStringLiteral(TAVRIN_RECORDER_SIM),
                      QStringList{QStringLiteral("--dir"), dir} + switches);
        if (!process.waitForStarted(5000))
            return false;
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        devicePath = QString::fromLocal8Bit(process.readLine()).trimmed();
        return devicePath.startsWith(QLatin1Char('/'));
    }
    ~Simulator()
    {
        process.closeWriteChannel(); // the simulator ends when its input closes
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }
    QString devicePath;

private:
    QProcess process;
};
