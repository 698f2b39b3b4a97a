// Times a 31-day download of full sample days from the recorder simulator over a
// pseudo-terminal, and compares it with the simulator writing the same bytes with no
// protocol at all. Run by hand:
//   tests/bench/tavrin-bench-download [runs (5)] [package bytes (1024)]
// Reports the median wall time and the viewer's CPU time (user + system of this process)
// of each.
#include "gui/app/mainwindow.h"

#include "support/testsupport.h"
#include "vdrencoder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

namespace {

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double median(QVector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

struct Simulator
{
    QProcess process;
    QString device;
    bool start(const QStringList &args)
    {
        process.start(QStringLiteral(TAVRIN_RECORDER_SIM), args);
        if (!process.waitForStarted(5000))
            return false;
        while (!process.canReadLine() && process.waitForReadyRead(5000)) {
        }
        device = QString::fromLocal8Bit(process.readLine()).trimmed();
        return !device.isEmpty();
    }
    ~Simulator()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(3000))
            process.kill();
        process.waitForFinished(1000);
    }
};

struct Sample
{
    double wall = 0;
    double cpu = 0;
};

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // the viewer's working directory goes to a folder of our own, not the user's
    QTemporaryDir dataHome;
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    const QString package = argc > 2 ? QString::fromLatin1(argv[2]) : QStringLiteral("1024");
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});

    QTemporaryDir served;
    const QDate first(2024, 1, 1);
    const QDate last(2024, 1, 31);
    qint64 total = 0;
    for (QDate day = first; day <= last; day = day.addDays(1)) {
        const QByteArray bytes = vdrenc::sampleDay(day, quint32(day.day()));
        total += bytes.size();
        testsupport::writeFile(served.path(),
                               day.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr"), bytes);
    }
    std::printf("31 days, %lld bytes, packages of %s bytes, %d runs\n", total, qPrintable(package), runs);

    QVector<double> dlWall, dlCpu, rawWall, rawCpu;
    for (int run = 0; run < runs; ++run) {
        {
            Simulator sim;
            if (!sim.start({QStringLiteral("--dir"), served.path(), QStringLiteral("--package"), package}))
                return 1;
            MainWindow w;
            if (!w.connectSerialPort(serial::PortSettings{sim.device}))
                return 1;
            QElapsedTimer timer;
            const double cpu0 = cpuSeconds();
            timer.start();
            w.startRangeDownload(first, last);
            while (w.downloadState().currentDate() <= last && timer.elapsed() < 600000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            dlWall.append(timer.nsecsElapsed() / 1e9);
            dlCpu.append(cpuSeconds() - cpu0);
            qint64 written = 0;
            for (const QFileInfo &info : QDir(w.workingDirectory()).entryInfoList(QDir::Files))
                written += info.size();
            if (written != total) {
                std::printf("download incomplete: %lld of %lld bytes\n", written, total);
                return 1;
            }
        }
        {
            Simulator sim;
            if (!sim.start({QStringLiteral("--dir"), served.path(), QStringLiteral("--blast")}))
                return 1;
            QSerialPort port(sim.device);
            if (!port.open(QIODevice::ReadWrite))
                return 1;
            qint64 received = 0;
            QObject::connect(&port, &QSerialPort::readyRead, [&] { received += port.readAll().size(); });
            QElapsedTimer timer;
            const double cpu0 = cpuSeconds();
            timer.start();
            port.write("x", 1);
            while (received < total && timer.elapsed() < 600000)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
            rawWall.append(timer.nsecsElapsed() / 1e9);
            rawCpu.append(cpuSeconds() - cpu0);
        }
        std::printf("run %d: download %.2f s wall, %.2f s cpu; raw %.2f s wall, %.2f s cpu\n", run + 1,
                    dlWall.last(), dlCpu.last(), rawWall.last(), rawCpu.last());
        std::fflush(stdout);
    }
    const double dw = median(dlWall), dc = median(dlCpu), rw = median(rawWall), rc = median(rawCpu);
    std::printf("median download: %.2f s wall, %.2f s viewer cpu (%.1f%% of the wall time)\n", dw, dc,
                100 * dc / dw);
    std::printf("median raw transfer of the same bytes: %.2f s wall, %.2f s cpu\n", rw, rc);
    std::printf("download wall / raw wall: %.1f; viewer cpu / raw wall: %.2f\n", dw / rw, dc / rw);
    return 0;
}
