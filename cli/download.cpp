// download: the viewer's download of day files from the recorder, without a window.
#include "cli/cli.h"

#include "serial/download.h"
#include "serial/frames.h"
#include "vdr/dayfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSerialPort>
#include <QTimer>

#include <cstdio>
#include <unistd.h>

namespace cli {

namespace {

// A 13-byte request leaves the port in about 0.1 s even at 1200 baud.
constexpr int kWriteDeadlineMs = 2000;

struct PortSettings
{
    QString name;
    qint32 baud = 115200;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::FlowControl flow = QSerialPort::NoFlowControl;
};

// Drives serial::Download with the frames the recorder sends, in its own event loop.
class Runner : public QObject
{
public:
    Runner(const PortSettings &settings, const QString &outDir, int timeoutMs)
        : m_settings(settings), m_outDir(outDir), m_timeoutMs(timeoutMs), m_tty(isatty(fileno(stderr)))
    {
        m_timer.setSingleShot(true);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            if (m_port.bytesToWrite() > 0)
                failToWrite();
            else
                fail(QStringLiteral("the recorder stopped answering for %1 s").arg(m_timeoutMs / 1000.0));
        });
        // A request that does not leave the port (a line held by flow control, a device that
        // takes nothing) is not the recorder's silence: said as soon as it is clear.
        m_writeTimer.setSingleShot(true);
        connect(&m_writeTimer, &QTimer::timeout, this, [this] {
            if (m_port.bytesToWrite() > 0)
                failToWrite();
        });
        connect(&m_port, &QSerialPort::bytesWritten, this, [this] {
            if (m_port.bytesToWrite() == 0)
                m_writeTimer.stop();
        });
        connect(&m_port, &QSerialPort::readyRead, this, &Runner::readyRead);
        connect(&m_port, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
            if (e != QSerialPort::NoError && e != QSerialPort::TimeoutError && m_port.isOpen())
                fail(QStringLiteral("serial port error: %1").arg(m_port.errorString()));
        });
    }

    bool open(QString *error)
    {
        m_port.setPortName(m_settings.name);
        if (!m_port.open(QIODevice::ReadWrite) || !m_port.setBaudRate(m_settings.baud) ||
            !m_port.setDataBits(m_settings.dataBits) || !m_port.setStopBits(m_settings.stopBits) ||
            !m_port.setParity(m_settings.parity) || !m_port.setFlowControl(m_settings.flow)) {
            *error = m_port.errorString();
            return false;
        }
        return true;
    }

    int runRange(const QDate &first, const QDate &last)
    {
        m_download.startRange(first, last);
        begin();
        send(m_download.requestDay(first));
        return exec();
    }

    int runRecent(const QDate &today, int hours)
    {
        const QByteArray request = m_download.startRecentHours(today, hours);
        begin();
        send(request);
        return exec();
    }

private:
    // Before the first request, so that a failure to send it ends the run at once.
    void begin()
    {
        m_dayStarted = false;
        m_timer.start(m_timeoutMs);
        m_loop = true;
    }

    int exec()
    {
        while (m_loop)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The last answer (the "file written" of the last day) may still be queued.
        while (!m_writeFailed && m_port.isOpen() && m_port.bytesToWrite() > 0 &&
               m_port.waitForBytesWritten(1000)) {
        }
        m_port.close();
        return m_exitCode;
    }

    void finish(int code)
    {
        m_exitCode = qMax(m_exitCode, code);
        m_timer.stop();
        m_writeTimer.stop();
        m_loop = false;
    }

    QString dayName() const { return vdr::dayListText(m_download.currentDate()); }

    void fail(const QString &reason)
    {
        if (!m_loop)
            return;
        endProgressLine();
        printError(QStringLiteral("download failed at day %1: %2").arg(dayName(), reason));
        finish(ExitProblem);
    }

    void send(const QByteArray &frame)
    {
        if (m_port.write(frame) != frame.size()) {
            failToWrite();
            return;
        }
        if (!m_writeTimer.isActive())
            m_writeTimer.start(qMin(m_timeoutMs, kWriteDeadlineMs));
    }

    void failToWrite()
    {
        m_writeFailed = true;
        fail(QStringLiteral("cannot write to the serial port: %1")
                 .arg(m_port.bytesToWrite() > 0
                          ? QStringLiteral("the request was not sent (is the line held?)")
                          : m_port.errorString()));
    }

    void endProgressLine()
    {
        if (m_tty && m_progressShown)
            std::fputc('\n', stderr);
        m_progressShown = false;
    }

    void progress(int packages, qint64 bytes)
    {
        // On a terminal the line is rewritten in place; in a log, every 64th package.
        const QString text =
            QStringLiteral("%1: %2 packages, %3 bytes").arg(dayName()).arg(packages).arg(bytes);
        if (m_tty) {
            std::fprintf(stderr, "\r%s", qUtf8Printable(text));
            std::fflush(stderr);
            m_progressShown = true;
        } else if (packages % 64 == 1) {
            printError(text);
        }
    }

    void readyRead()
    {
        m_buffer.append(m_port.readAll());
        m_timer.start(m_timeoutMs);
        while (m_loop && !m_buffer.isEmpty()) {
            const serial::ParseStep step = serial::takeFrame(m_buffer);
            if (step.kind == serial::ParseStep::NeedMore)
                return;
            if (step.kind == serial::ParseStep::LinkError) {
                fail(QStringLiteral("the recorder sent bytes that are no frame"));
                return;
            }
            if (step.kind == serial::ParseStep::RecorderError) {
                m_download.resetAfterError();
                fail(QStringLiteral("the recorder answered with its error frame"));
                return;
            }
            handle(step.frame);
        }
    }

    void handle(const serial::ResponseFrame &frame)
    {
        if (!frame.checksumOk()) {
            endProgressLine();
            printError(QStringLiteral("%1: frame %2 has checksum %3, computed %4")
                           .arg(dayName())
                           .arg(frame.packId)
                           .arg(frame.checksum, 2, 16, QLatin1Char('0'))
                           .arg(frame.computed, 2, 16, QLatin1Char('0')));
        }
        if (frame.status == serial::StatusFileStart) {
            m_dayStarted = true;
            m_packages = 0;
        } else if (frame.status == serial::StatusPackage) {
            ++m_packages;
        }
        const QVector<serial::DownloadAction> actions = m_download.handleFrame(frame);
        if (frame.status == serial::StatusPackage || frame.status == serial::StatusFileStart)
            progress(m_packages, m_download.dayFileData().size());
        for (const serial::DownloadAction &action : actions) {
            switch (action.kind) {
            case serial::DownloadAction::ShowProgress:
            case serial::DownloadAction::DebugLine:
                break;
            case serial::DownloadAction::Send:
                send(action.bytes);
                break;
            case serial::DownloadAction::WriteDay: {
                endProgressLine();
                QString error;
                if (serial::writeDayFile(m_outDir, action.day, action.bytes, &error)) {
                    printError(QStringLiteral("%1: wrote %2 (%3 bytes)")
                                   .arg(vdr::dayListText(action.day),
                                        QDir(m_outDir).filePath(vdr::normalisedDayFileName(action.day)))
                                   .arg(action.bytes.size()));
                    m_written = true;
                } else {
                    m_download.noteUnwritten(action.day);
                    m_dayWriteFailed = true;
                    printError(QStringLiteral("%1: cannot write %2: %3")
                                   .arg(vdr::dayListText(action.day), vdr::normalisedDayFileName(action.day),
                                        error));
                }
                break;
            }
            case serial::DownloadAction::RequestDay:
            case serial::DownloadAction::Finish:
                endDay();
                if (action.kind == serial::DownloadAction::RequestDay) {
                    send(m_download.requestDay(action.day));
                } else {
                    const QList<QDate> unwritten = m_download.unwrittenDays();
                    if (!unwritten.isEmpty()) {
                        QStringList days;
                        for (const QDate &day : unwritten)
                            days << vdr::dayListText(day);
                        printError(QStringLiteral("download failed: these days could not be written: %1")
                                       .arg(days.join(QStringLiteral(", "))));
                        finish(ExitProblem);
                    } else {
                        finish(ExitOk);
                    }
                }
                break;
            }
        }
    }

    // A day the recorder finished: say so when it had no file for it.
    void endDay()
    {
        endProgressLine();
        // handleFrame has moved on to the next day already.
        const QDate day = m_download.currentDate().addDays(-1);
        if (m_dayWriteFailed) {
            // said when the write failed
        } else if (m_download.unwrittenDays().contains(day)) {
            printError(QStringLiteral("%1: the recorder's file passed %2 MiB, nothing written")
                           .arg(vdr::dayListText(day))
                           .arg(serial::kMaxDayFileSize / (1024 * 1024)));
        } else if (!m_written) {
            printError(QStringLiteral("%1: %2").arg(
                vdr::dayListText(day),
                m_dayStarted ? QStringLiteral("the recorder's file was incomplete, nothing written")
                             : QStringLiteral("the recorder has no data for the day")));
        }
        m_written = false;
        m_dayWriteFailed = false;
        m_dayStarted = false;
        m_packages = 0;
    }

    PortSettings m_settings;
    QString m_outDir;
    int m_timeoutMs;
    bool m_tty;
    QSerialPort m_port;
    QTimer m_timer;
    QTimer m_writeTimer; // runs while a request waits in the port's buffer
    QByteArray m_buffer;
    serial::Download m_download;
    bool m_loop = false;
    int m_exitCode = ExitOk;
    bool m_dayStarted = false;
    bool m_written = false;
    bool m_dayWriteFailed = false;
    bool m_writeFailed = false;
    bool m_progressShown = false;
    int m_packages = 0;
};

template <typename T> bool pick(const QString &value, const QList<QPair<QString, T>> &choices, T *out)
{
    for (const auto &choice : choices)
        if (choice.first == value) {
            *out = choice.second;
            return true;
        }
    return false;
}

} // namespace

int runDownload(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Downloads day files from a recorder over the serial link, as the viewer does, "
                       "and writes them as DyyyyMMdd__.vdr into the output folder (whole or not at all). "
                       "Days written before a failure are kept.\n"
                       "Progress goes to standard error.\n"
                       "Exit 0 when every day was fetched, 1 when the download failed (the message names "
                       "the day), 2 for a usage error or a port that cannot be opened."));
    parser.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"), QStringLiteral("The serial device."),
                                  QStringLiteral("DEVICE"));
    const QCommandLineOption from(QStringLiteral("from"), QStringLiteral("First day."),
                                  QStringLiteral("yyyy-MM-dd"));
    const QCommandLineOption to(QStringLiteral("to"), QStringLiteral("Last day."),
                                QStringLiteral("yyyy-MM-dd"));
    const QCommandLineOption recent(QStringLiteral("recent"),
                                    QStringLiteral("The most recent hours (1-24), written as today's file."),
                                    QStringLiteral("HOURS"));
    const QCommandLineOption output(QStringList{QStringLiteral("o"), QStringLiteral("output")},
                                    QStringLiteral("Folder for the day files (default: the current folder)."),
                                    QStringLiteral("DIR"), QStringLiteral("."));
    const QCommandLineOption timeout(QStringLiteral("timeout"),
                                     QStringLiteral("Seconds to wait for the recorder (default 30)."),
                                     QStringLiteral("SECONDS"), QStringLiteral("30"));
    const QCommandLineOption baud(QStringLiteral("baud"), QStringLiteral("Baud rate (default 115200)."),
                                  QStringLiteral("RATE"), QStringLiteral("115200"));
    const QCommandLineOption dataBits(QStringLiteral("data-bits"),
                                      QStringLiteral("5, 6, 7 or 8 (default 8)."), QStringLiteral("N"),
                                      QStringLiteral("8"));
    const QCommandLineOption stopBits(QStringLiteral("stop-bits"), QStringLiteral("1, 1.5 or 2 (default 1)."),
                                      QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption parity(QStringLiteral("parity"),
                                    QStringLiteral("none, even, odd, space or mark (default none)."),
                                    QStringLiteral("PARITY"), QStringLiteral("none"));
    const QCommandLineOption flow(QStringLiteral("flow"),
                                  QStringLiteral("none, hardware or software (default none)."),
                                  QStringLiteral("FLOW"), QStringLiteral("none"));
    parser.addOptions({port, from, to, recent, output, timeout, baud, dataBits, stopBits, parity, flow});
    parser.addPositionalArgument(QStringLiteral("download"), QStringLiteral("the command"));
    auto usage = [](const QString &text) {
        printError(QStringLiteral("tavrin-vdr download: ") + text);
        return int(ExitUsage);
    };
    if (const int exitNow = parseArguments(parser, QStringLiteral("download"), arguments); exitNow >= 0)
        return exitNow;
    if (!parser.positionalArguments().isEmpty())
        return usage(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().at(0)));

    PortSettings settings;
    settings.name = parser.value(port);
    if (settings.name.isEmpty())
        return usage(QStringLiteral("--port DEVICE is required"));
    bool ok = false;
    settings.baud = parser.value(baud).toInt(&ok);
    if (!ok || settings.baud <= 0)
        return usage(QStringLiteral("--baud wants a positive number"));
    if (!pick<QSerialPort::DataBits>(parser.value(dataBits),
                                     {{"5", QSerialPort::Data5},
                                      {"6", QSerialPort::Data6},
                                      {"7", QSerialPort::Data7},
                                      {"8", QSerialPort::Data8}},
                                     &settings.dataBits))
        return usage(QStringLiteral("--data-bits wants 5, 6, 7 or 8"));
    if (!pick<QSerialPort::StopBits>(
            parser.value(stopBits),
            {{"1", QSerialPort::OneStop}, {"1.5", QSerialPort::OneAndHalfStop}, {"2", QSerialPort::TwoStop}},
            &settings.stopBits))
        return usage(QStringLiteral("--stop-bits wants 1, 1.5 or 2"));
    if (!pick<QSerialPort::Parity>(parser.value(parity),
                                   {{"none", QSerialPort::NoParity},
                                    {"even", QSerialPort::EvenParity},
                                    {"odd", QSerialPort::OddParity},
                                    {"space", QSerialPort::SpaceParity},
                                    {"mark", QSerialPort::MarkParity}},
                                   &settings.parity))
        return usage(QStringLiteral("--parity wants none, even, odd, space or mark"));
    if (!pick<QSerialPort::FlowControl>(parser.value(flow),
                                        {{"none", QSerialPort::NoFlowControl},
                                         {"hardware", QSerialPort::HardwareControl},
                                         {"software", QSerialPort::SoftwareControl}},
                                        &settings.flow))
        return usage(QStringLiteral("--flow wants none, hardware or software"));
    const double seconds = parser.value(timeout).toDouble(&ok);
    if (!ok || seconds <= 0 || seconds > 86400)
        return usage(QStringLiteral("--timeout wants a number of seconds above 0"));

    const bool byRange = parser.isSet(from) || parser.isSet(to);
    if (byRange == parser.isSet(recent))
        return usage(QStringLiteral("give either --from and --to, or --recent"));
    QDate first, last;
    int hours = 0;
    if (byRange) {
        first = QDate::fromString(parser.value(from), QStringLiteral("yyyy-MM-dd"));
        last = QDate::fromString(parser.value(to), QStringLiteral("yyyy-MM-dd"));
        if (!first.isValid() || !last.isValid())
            return usage(QStringLiteral("--from and --to want dates as yyyy-MM-dd"));
        if (last < first)
            return usage(QStringLiteral("--to lies before --from"));
    } else {
        hours = parser.value(recent).toInt(&ok);
        if (!ok || hours < 1 || hours > 24)
            return usage(QStringLiteral("--recent wants 1 to 24 hours"));
    }

    const QString outDir = parser.value(output);
    if (!QDir().mkpath(outDir)) {
        printError(QStringLiteral("%1: cannot create the folder").arg(outDir));
        return ExitUsage;
    }

    Runner runner(settings, outDir, int(seconds * 1000));
    QString error;
    if (!runner.open(&error)) {
        printError(QStringLiteral("%1: cannot open: %2").arg(settings.name, error));
        return ExitUsage;
    }
    return byRange ? runner.runRange(first, last) : runner.runRecent(QDate::currentDate(), hours);
}

} // namespace cli
