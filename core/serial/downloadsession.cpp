#include "core/serial/downloadsession.h"

#include "core/vdr/dayfile.h"

#include <QDebug>
#include <QDir>
#include <QIODevice>

namespace serial {

DownloadSession::DownloadSession(QObject *parent) : QObject(parent)
{
    m_answerTimer.setSingleShot(true);
    connect(&m_answerTimer, &QTimer::timeout, this, [this] {
        if (!running() || !deviceOpen())
            return;
        // A request still in the output is no silence of the recorder's.
        fail(m_device->bytesToWrite() > 0 ? Failure::NotSent : Failure::NoAnswer);
    });
    m_writeTimer.setSingleShot(true);
    connect(&m_writeTimer, &QTimer::timeout, this, [this] {
        if (running() && deviceOpen() && m_device->bytesToWrite() > 0)
            fail(Failure::NotSent);
    });
}

void DownloadSession::setDevice(QIODevice *device)
{
    if (m_device)
        disconnect(m_device, nullptr, this, nullptr);
    m_device = device;
    m_buffer.clear();
    if (device) {
        connect(device, &QIODevice::bytesWritten, this, [this] {
            if (m_device && m_device->bytesToWrite() == 0)
                m_writeTimer.stop();
        });
    }
}

bool DownloadSession::deviceOpen() const
{
    return m_device && m_device->isOpen();
}

void DownloadSession::begin()
{
    m_stopped = false;
    m_written.clear();
    m_packages = 0;
    m_dayStarted = m_dayWritten = m_dayWriteFailed = false;
}

bool DownloadSession::startRange(const QDate &first, const QDate &last)
{
    m_download.startRange(first, last);
    begin();
    if (first.isValid())
        requestDay(first);
    if (!running())
        return false; // the request could not be written
    if (!first.isValid() || !deviceOpen()) {
        end(Failure::NoDevice);
        return false;
    }
    return true;
}

bool DownloadSession::startRecentHours(const QDate &today, int hours)
{
    if (!deviceOpen())
        return false;
    const QByteArray request = m_download.startRecentHours(today, hours);
    begin();
    send(request);
    return running();
}

void DownloadSession::cancel()
{
    if (running())
        end(Failure::Cancelled);
}

qint64 DownloadSession::send(const QByteArray &frame)
{
    if (!deviceOpen())
        return 0;
    emit sent(frame);
    const qint64 written = m_device->write(frame);
    if (!running())
        return written;
    if (written != frame.size()) {
        fail(Failure::NotSent, m_device->errorString());
        return written;
    }
    // A request is outstanding: the recorder has until the time limit to answer, and the
    // request a short while to leave the device.
    m_answerTimer.start(m_answerTimeoutMs);
    if (m_device->bytesToWrite() > 0 && !m_writeTimer.isActive())
        m_writeTimer.start(qMin(m_answerTimeoutMs, kWriteDeadlineMs));
    return written;
}

void DownloadSession::readAvailable()
{
    if (!m_device)
        return;
    const QByteArray bytes = m_device->readAll();
    emit received(bytes);
    if (bytes.isEmpty())
        return;
    if (running())
        m_answerTimer.start(m_answerTimeoutMs);
    m_buffer.append(bytes);
    // Frames often arrive together; take every complete one now, as no further
    // notification comes for bytes that are already here.
    while (!m_buffer.isEmpty() && parseFrame(m_buffer)) {
    }
}

void DownloadSession::deviceFailed(const QString &reason)
{
    if (deviceOpen())
        fail(Failure::DeviceError, reason);
}

bool DownloadSession::parseFrame(QByteArray &buffer)
{
    const ParseStep step = takeFrame(buffer);
    switch (step.kind) {
    case ParseStep::NeedMore:
        return false;
    case ParseStep::LinkError:
        fail(Failure::NoFrame);
        return false;
    case ParseStep::RecorderError:
        fail(Failure::RecorderError);
        return true;
    case ParseStep::Frame:
        break;
    }
    emit frameTaken(step.frame);
    handleFrame(step.frame);
    return true;
}

void DownloadSession::handleFrame(const ResponseFrame &frame)
{
    if (!running())
        return;
    if (frame.status == StatusFileStart) {
        m_dayStarted = true;
        m_packages = 0;
    } else if (frame.status == StatusPackage) {
        ++m_packages;
    }
    const QDate day = m_download.currentDate();
    m_stopped = false;
    const QVector<DownloadAction> actions = m_download.handleFrame(frame);
    for (const DownloadAction &action : actions) {
        if (m_stopped)
            return;
        switch (action.kind) {
        case DownloadAction::ShowProgress:
            emit progress(action.text, m_packages, m_download.dayFileData().size());
            break;
        case DownloadAction::Send:
            send(action.bytes);
            break;
        case DownloadAction::WriteDay:
            writeDay(action.day, action.bytes);
            break;
        case DownloadAction::DebugLine:
            qDebug().noquote() << action.text;
            break;
        case DownloadAction::RequestDay:
            endDay(day);
            requestDay(action.day);
            break;
        case DownloadAction::Finish:
            endDay(day);
            end(Failure::None);
            break;
        }
    }
}

void DownloadSession::requestDay(const QDate &day)
{
    emit dayRequested(day);
    const QByteArray request = m_download.requestDay(day);
    send(request);
}

bool DownloadSession::writeDay(const QDate &day, const QByteArray &data)
{
    QString error;
    if (writeDayFile(m_directory, day, data, &error)) {
        m_dayWritten = true;
        if (!m_written.contains(day))
            m_written.append(day);
        emit dayWritten(day, QDir(m_directory).filePath(vdr::normalisedDayFileName(day)), data.size());
        return true;
    }
    m_dayWriteFailed = true;
    m_download.noteUnwritten(day);
    emit dayNotWritten(day, error);
    return false;
}

void DownloadSession::endDay(const QDate &day)
{
    DayOutcome outcome = DayOutcome::Written;
    if (m_dayWriteFailed)
        outcome = DayOutcome::WriteFailed;
    else if (m_download.unwrittenDays().contains(day))
        outcome = DayOutcome::TooLarge;
    else if (!m_dayWritten)
        outcome = m_dayStarted ? DayOutcome::Incomplete : DayOutcome::NoData;
    m_packages = 0;
    m_dayStarted = m_dayWritten = m_dayWriteFailed = false;
    emit dayEnded(day, outcome);
}

void DownloadSession::fail(Failure failure, const QString &detail)
{
    m_download.resetAfterError();
    if (failure != Failure::RecorderError)
        m_buffer.clear();
    emit error(failure, detail);
    if (running())
        end(failure, detail);
}

void DownloadSession::end(Failure failure, const QString &detail)
{
    DownloadResult result;
    result.failure = failure;
    result.detail = detail;
    result.day = m_download.currentDate();
    m_download.stop();
    m_answerTimer.stop();
    m_writeTimer.stop();
    m_stopped = true;
    result.unwritten = m_download.unwrittenDays();
    const QDate first = m_download.firstDate();
    for (QDate day = first; day.isValid() && (day <= m_download.endDate() || day == first);
         day = day.addDays(1)) {
        if (!m_written.contains(day) && !result.unwritten.contains(day))
            result.missing.append(day);
    }
    emit finished(result);
}

} // namespace serial
