// download: the viewer's download of day files from the recorder, without a window.
#include "cli/cli.h"

#include "core/serial/downloadsession.h"
#include "core/serial/portsettings.h"
#include "core/serial/serialport.h"
#include "core/vdr/dayfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QSerialPort>

#include <cstdio>
#include <unistd.h>

namespace cli {

namespace {

// Tells on standard error what a download session does, and turns its end into the exit
// code.
class Reporter : public QObject
{
public:
    Reporter(serial::DownloadSession &session, QSerialPort &port, int timeoutMs)
        : m_session(session), m_port(port), m_timeoutMs(timeoutMs), m_tty(isatty(fileno(stderr)))
    {
        using serial::DownloadSession;
        connect(&session, &DownloadSession::frameTaken, this, &Reporter::frameTaken);
        connect(&session, &DownloadSession::progress, this, &Reporter::progress);
        connect(&session, &DownloadSession::dayWritten, this,
                [this](const QDate &day, const QString &path, qint64 size) {
                    say(QStringLiteral("%1: wrote %2 (%3 bytes)").arg(vdr::dayListText(day), path).arg(size));
                });
        connect(&session, &DownloadSession::dayNotWritten, this,
                [this](const QDate &day, const QString &error) {
                    say(QStringLiteral("%1: cannot write %2: %3")
                            .arg(vdr::dayListText(day), vdr::normalisedDayFileName(day), error));
                });
        connect(&session, &DownloadSession::dayEnded, this, &Reporter::dayEnded);
        connect(&session, &DownloadSession::error, this, &Reporter::error);
        connect(&session, &DownloadSession::finished, this, &Reporter::finished);
    }

    // Runs the event loop until the download that has been started is over.
    int exec()
    {
        while (!m_done && m_session.running())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        // The last answer (the "file written" of the last day) may still be queued.
        while (!m_notSent && m_port.isOpen() && m_port.bytesToWrite() > 0 &&
               m_port.waitForBytesWritten(1000)) {
        }
        m_port.close();
        return m_exitCode;
    }

private:
    QString dayName() const { return vdr::dayListText(m_session.download().currentDate()); }

    void endProgressLine()
    {
        if (m_tty && m_progressShown)
            std::fputc('\n', stderr);
        m_progressShown = false;
    }

    void say(const QString &text)
    {
        endProgressLine();
        printError(text);
    }

    void frameTaken(const serial::ResponseFrame &frame)
    {
        if (m_done || frame.checksumOk())
            return;
        say(QStringLiteral("%1: frame %2 has checksum %3, computed %4")
                .arg(dayName())
                .arg(frame.packId)
                .arg(frame.checksum, 2, 16, QLatin1Char('0'))
                .arg(frame.computed, 2, 16, QLatin1Char('0')));
    }

    void progress(const QString &, int packages, qint64 bytes)
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

    // A day the recorder finished: said when it had no file for it (a failed write was said
    // when it failed).
    void dayEnded(const QDate &day, serial::DayOutcome outcome)
    {
        QString text;
        switch (outcome) {
        case serial::DayOutcome::Written:
        case serial::DayOutcome::WriteFailed:
            endProgressLine();
            return;
        case serial::DayOutcome::TooLarge:
            text = QStringLiteral("the recorder's file passed %1 MiB, nothing written")
                       .arg(serial::kMaxDayFileSize / (1024 * 1024));
            break;
        case serial::DayOutcome::Incomplete:
            text = QStringLiteral("the recorder's file was incomplete, nothing written");
            break;
        case serial::DayOutcome::NoData:
            text = QStringLiteral("the recorder has no data for the day");
            break;
        }
        say(QStringLiteral("%1: %2").arg(vdr::dayListText(day), text));
    }

    void error(serial::Failure failure, const QString &detail)
    {
        if (m_done || !m_session.running())
            return;
        QString reason;
        switch (failure) {
        case serial::Failure::NoAnswer:
            reason = QStringLiteral("the recorder stopped answering for %1 s").arg(m_timeoutMs / 1000.0);
            break;
        case serial::Failure::NotSent:
            m_notSent = true;
            reason =
                QStringLiteral("cannot write to the serial port: %1")
                    .arg(detail.isEmpty() ? QStringLiteral("the request was not sent (is the line held?)")
                                          : detail);
            break;
        case serial::Failure::NoFrame:
            reason = QStringLiteral("the recorder sent bytes that are no frame");
            break;
        case serial::Failure::RecorderError:
            reason = QStringLiteral("the recorder answered with its error frame");
            break;
        default:
            reason = QStringLiteral("serial port error: %1").arg(detail);
            break;
        }
        say(QStringLiteral("download failed at day %1: %2").arg(dayName(), reason));
    }

    void finished(const serial::DownloadResult &result)
    {
        m_done = true;
        m_exitCode = result.failure == serial::Failure::None ? ExitOk : ExitProblem;
        if (result.failure == serial::Failure::None && !result.unwritten.isEmpty()) {
            QStringList days;
            for (const QDate &day : result.unwritten)
                days << vdr::dayListText(day);
            say(QStringLiteral("download failed: these days could not be written: %1")
                    .arg(days.join(QStringLiteral(", "))));
            m_exitCode = ExitProblem;
        }
    }

    serial::DownloadSession &m_session;
    QSerialPort &m_port;
    int m_timeoutMs;
    bool m_tty;
    bool m_done = false;
    bool m_notSent = false;
    bool m_progressShown = false;
    int m_exitCode = ExitOk;
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

    using serial::PortSettings;
    PortSettings settings;
    settings.name = parser.value(port);
    if (settings.name.isEmpty())
        return usage(QStringLiteral("--port DEVICE is required"));
    bool ok = false;
    settings.baudRate = parser.value(baud).toInt(&ok);
    if (!ok || settings.baudRate <= 0)
        return usage(QStringLiteral("--baud wants a positive number"));
    if (!pick<int>(parser.value(dataBits), {{"5", 5}, {"6", 6}, {"7", 7}, {"8", 8}}, &settings.dataBits))
        return usage(QStringLiteral("--data-bits wants 5, 6, 7 or 8"));
    if (!pick<PortSettings::StopBits>(parser.value(stopBits),
                                      {{"1", PortSettings::OneStop},
                                       {"1.5", PortSettings::OneAndHalfStop},
                                       {"2", PortSettings::TwoStop}},
                                      &settings.stopBits))
        return usage(QStringLiteral("--stop-bits wants 1, 1.5 or 2"));
    if (!pick<PortSettings::Parity>(parser.value(parity),
                                    {{"none", PortSettings::NoParity},
                                     {"even", PortSettings::EvenParity},
                                     {"odd", PortSettings::OddParity},
                                     {"space", PortSettings::SpaceParity},
                                     {"mark", PortSettings::MarkParity}},
                                    &settings.parity))
        return usage(QStringLiteral("--parity wants none, even, odd, space or mark"));
    if (!pick<PortSettings::FlowControl>(parser.value(flow),
                                         {{"none", PortSettings::NoFlowControl},
                                          {"hardware", PortSettings::HardwareControl},
                                          {"software", PortSettings::SoftwareControl}},
                                         &settings.flowControl))
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

    QSerialPort serialPort;
    if (!serial::openPort(serialPort, settings)) {
        printError(QStringLiteral("%1: cannot open: %2").arg(settings.name, serialPort.errorString()));
        return ExitUsage;
    }
    serial::DownloadSession session;
    session.setDevice(&serialPort);
    session.setDirectory(outDir);
    session.setAnswerTimeout(int(seconds * 1000));
    QObject::connect(&serialPort, &QSerialPort::readyRead, &session, &serial::DownloadSession::readAvailable);
    serial::reportPortErrors(serialPort, session);
    Reporter reporter(session, serialPort, session.answerTimeout());
    if (byRange)
        session.startRange(first, last);
    else
        session.startRecentHours(QDate::currentDate(), hours);
    return reporter.exec();
}

} // namespace cli
