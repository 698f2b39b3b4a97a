#pragma once

#include "core/serial/download.h"
#include "core/serial/frames.h"

#include <QByteArray>
#include <QDate>
#include <QIODevice>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

namespace serial {

// How long a request may wait in the device's output before the line counts as held.
// A 13-byte request leaves the port in about 0.1 s even at 1200 baud.
constexpr int kWriteDeadlineMs = 2000;

// Why a download ended before its last day, or what went wrong on the link.
enum class Failure
{
    None,
    Cancelled,     // the owner ended it (the user disconnected)
    NoDevice,      // no open device: nothing could be asked for
    NoAnswer,      // the recorder sent nothing for the answer time limit
    NotSent,       // a request did not leave the device (a held line, a failed write)
    NoFrame,       // bytes that can never become a frame: the link is broken
    RecorderError, // the recorder's short error frame
    DeviceError,   // the device failed (gone, read or write error)
};

// What became of a day once the recorder finished it.
enum class DayOutcome
{
    Written,     // its file was written
    WriteFailed, // its file could not be written (dayNotWritten said why)
    TooLarge,    // its data outgrew kMaxDayFileSize and was dropped
    Incomplete,  // it started but its end frame did not match: nothing written
    NoData,      // the recorder sent nothing for it
};

struct DownloadResult
{
    Failure failure = Failure::None;
    QString detail;         // the device's own words for NotSent and DeviceError, if any
    QDate day;              // the day under way at the end
    QList<QDate> unwritten; // days received but not written (too large, or the write failed)
    QList<QDate> missing;   // the download's other days that got no file
};

// One download session with the recorder over a device that the owner opens and closes: the
// receive buffer, the frames taken from it, the download sequence (serial::Download), the
// time limits, the writing of day files and what the front end has to show, as signals.
//
// The owner connects the device's readyRead() to readAvailable() and hands the device's own
// failures to deviceFailed(). Bytes are taken as frames whenever they arrive, also while no
// download runs (the recorder's frames are then only reported); a download runs from
// startRange() or startRecentHours() until finished() is emitted. Signals are emitted in the
// order things happen, so a front end that echoes them keeps the order of the traffic.
class DownloadSession : public QObject
{
    Q_OBJECT

public:
    explicit DownloadSession(QObject *parent = nullptr);

    // The device to talk to (not owned); bytes left from an earlier device, or an earlier
    // connection of the same one, are dropped.
    void setDevice(QIODevice *device);
    QIODevice *device() const { return m_device; }
    // The folder the day files go to ("DyyyyMMdd__.vdr"), created when needed.
    void setDirectory(const QString &directory) { m_directory = directory; }
    QString directory() const { return m_directory; }
    // The longest wait for a byte from the recorder while a request is outstanding.
    void setAnswerTimeout(int ms) { m_answerTimeoutMs = ms; }
    int answerTimeout() const { return m_answerTimeoutMs; }

    // A download of the days first to last. dayRequested() comes for each day before its
    // request. Without an open device the first day is named but nothing is sent, and the
    // download ends at once (NoDevice). Returns whether the download runs.
    bool startRange(const QDate &first, const QDate &last);
    // A download of the most recent hours (1-24) into today's file. Without an open device
    // nothing starts and false is returned.
    bool startRecentHours(const QDate &today, int hours);
    // Ends the running download (Cancelled); what it collected of the current day is dropped.
    void cancel();

    bool running() const { return m_download.running(); }
    const Download &download() const { return m_download; }

    // Writes a request frame (sent() first); 0 when the device is not open. While a download
    // runs, a request that cannot be written ends it (NotSent).
    qint64 send(const QByteArray &frame);
    // Requests one day: dayRequested(), then the day's request frame, which becomes the
    // template of the answers to its frames.
    void requestDay(const QDate &day);
    // Takes one frame (or the recorder's error frame) from the start of `buffer` and acts on
    // it; returns whether something was taken, so that the caller can try again. Bytes that
    // can never become a frame are dropped and end the link (NoFrame).
    bool parseFrame(QByteArray &buffer);
    // The received bytes not yet taken as frames; readAvailable() appends to it and parses
    // every whole frame from it.
    QByteArray &receiveBuffer() { return m_buffer; }
    // Writes `data` as the day file of `day` (dayWritten() or dayNotWritten()); returns
    // whether the file was written.
    bool writeDay(const QDate &day, const QByteArray &data);

public slots:
    // Reads what the device has and takes every complete frame from the buffer.
    void readAvailable();
    // The device failed (it went away, or could not be read or written): ends the link as
    // bytes that are no frame do, with the device's words.
    void deviceFailed(const QString &reason);

signals:
    // A frame is about to be written.
    void sent(const QByteArray &frame);
    // Bytes were read (possibly none), before they are taken as frames.
    void received(const QByteArray &bytes);
    // A whole frame was taken (a wrong checksum included), before the download acts on it.
    void frameTaken(const serial::ResponseFrame &frame);
    // A day of a range is about to be requested.
    void dayRequested(const QDate &day);
    // The recorder starts a day file (packages 0) or sent a data package: the overlay text,
    // the packages of the day so far and the bytes collected for it.
    void progress(const QString &text, int packages, qint64 bytes);
    void dayWritten(const QDate &day, const QString &path, qint64 size);
    void dayNotWritten(const QDate &day, const QString &reason);
    // The recorder finished the day; comes before the next day's request.
    void dayEnded(const QDate &day, serial::DayOutcome outcome);
    // The link failed (NoAnswer, NotSent, NoFrame, DeviceError; the owner should close the
    // device) or the recorder refused (RecorderError; the link stays usable). Also while no
    // download runs. A running download then ends with finished().
    void error(serial::Failure failure, const QString &detail);
    // The download is over, at its end or early.
    void finished(const serial::DownloadResult &result);

private:
    bool deviceOpen() const;
    void begin();
    void handleFrame(const ResponseFrame &frame);
    void endDay(const QDate &day);
    void fail(Failure failure, const QString &detail = QString());
    void end(Failure failure, const QString &detail = QString());

    QPointer<QIODevice> m_device;
    QString m_directory;
    int m_answerTimeoutMs = kAnswerTimeoutMs;
    QTimer m_answerTimer; // runs while a request waits for the recorder
    QTimer m_writeTimer;  // runs while a request waits in the device's output
    QByteArray m_buffer;  // received bytes not yet taken as frames
    Download m_download;
    bool m_stopped = false; // the download ended while a frame's actions were carried out
    // the day under way
    int m_packages = 0;
    bool m_dayStarted = false;
    bool m_dayWritten = false;
    bool m_dayWriteFailed = false;
    QList<QDate> m_written; // days of this download whose file was written
};

} // namespace serial
