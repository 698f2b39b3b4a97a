#pragma once

#include "core/serial/frames.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QVector>

namespace serial {

// The most bytes collected for one day file. A real day is about 1 MB; a recorder (or line
// noise) that sends packages without end must not make the program grow without bound.
constexpr int kMaxDayFileSize = 32 * 1024 * 1024;

// How long a download waits for a byte from the recorder while a request is outstanding.
constexpr int kAnswerTimeoutMs = 30 * 1000;

// One thing to do in answer to a received frame, in the order given.
struct DownloadAction
{
    enum Kind
    {
        ShowProgress, // show the waiting overlay with `text`
        Send,         // send the request frame `bytes`
        WriteDay,     // write `bytes` as the day file of `day`
        RequestDay,   // request `day` (a date list entry, cleared pages, command 0x00)
        Finish,       // the download is over: hide the overlay, open the first day
        DebugLine,    // write `text` to the debug output
    };
    Kind kind = ShowProgress;
    QString text;
    QByteArray bytes;
    QDate day;
};

// The download of day files from the recorder, driven by the frames it sends.
//
// For each requested day the recorder sends a start frame (0x10), data packages (0x11,
// each answered with command 0x01), an end frame (0x12, answered with command 0x03 once the
// file is written) and a day-finished frame (0x14 or 0x15). The payloads of every frame
// since the start frame, concatenated, are the day file. The file is written only when the
// end frame's package number is one less than the last data package's number, and only
// when the day's data stayed within kMaxDayFileSize; a day that grew beyond it is dropped,
// counted as unwritten and its end frame answered all the same, so that the recorder goes
// on with the next day.
//
// A download runs from its start until the day-finished frame of its last day, or until it
// is stopped (cancelled, or ended by an error); frames that arrive while none runs are
// ignored.
class Download
{
public:
    // A download of the days first to last, both included; request `first` next.
    void startRange(const QDate &first, const QDate &last);
    // A download of the most recent hours; everything received goes to today's file.
    QByteArray startRecentHours(const QDate &today, int hours);
    // Ends the download before its last day: what it collected of the current day is dropped.
    void stop();
    bool running() const { return m_running; }
    // Makes `day` the current day and its request the template; returns the frame to send.
    QByteArray requestDay(const QDate &day);

    // The reactions to one received frame: first the action of 0x10 or 0x11, then the
    // payload is collected, then the action of 0x12, then that of 0x14 or 0x15.
    QVector<DownloadAction> handleFrame(const ResponseFrame &frame);

    // After a link or recorder error: the package number and the day's data are dropped.
    void resetAfterError();

    // The day file of `day` could not be written.
    void noteUnwritten(const QDate &day);

    QDate firstDate() const { return m_firstDate; }
    QDate currentDate() const { return m_currentDate; }
    QDate endDate() const { return m_endDate; }
    QByteArray requestFrame() const { return m_requestFrame; }
    quint16 lastPackId() const { return m_lastPackId; }
    QByteArray dayFileData() const { return m_dayFileData; }
    // Days of this download whose file could not be written, in order.
    QList<QDate> unwrittenDays() const { return m_unwritten; }

private:
    QString dayText() const;

    bool m_running = false;
    QDate m_firstDate;
    QDate m_currentDate;
    QDate m_endDate;
    QByteArray m_requestFrame; // the last command 0x00, its checksum byte 0
    quint16 m_lastPackId = 0;
    QByteArray m_dayFileData;
    bool m_dayTooLarge = false; // the day's data outgrew kMaxDayFileSize and was dropped
    QList<QDate> m_unwritten;
};

// Writes `data` as the day file of `day` ("DyyyyMMdd__.vdr") into `directory`, creating the
// directory when needed. The bytes go to a file aside that is renamed over the day's name
// only once complete, so a failed write never leaves a truncated day file; when the write
// fails, an older file of the day is removed too. Returns false (with a reason) on failure.
bool writeDayFile(const QString &directory, const QDate &day, const QByteArray &data,
                  QString *error = nullptr);

} // namespace serial
