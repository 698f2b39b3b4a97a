#include "core/serial/download.h"

#include "core/vdr/dayfile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace serial {

void Download::startRange(const QDate &first, const QDate &last)
{
    resetAfterError();
    m_running = true;
    m_firstDate = first;
    m_currentDate = first;
    m_endDate = last;
    m_unwritten.clear();
}

QByteArray Download::startRecentHours(const QDate &today, int hours)
{
    startRange(today, today);
    m_requestFrame = recentHoursRequest(hours);
    return commandFrame(m_requestFrame, CmdRequest);
}

void Download::stop()
{
    m_running = false;
    resetAfterError();
}

QByteArray Download::requestDay(const QDate &day)
{
    m_currentDate = day;
    m_requestFrame = dayRequest(day);
    return commandFrame(m_requestFrame, CmdRequest);
}

QString Download::dayText() const
{
    return m_currentDate.toString(QStringLiteral("(yyyy/MM/dd)"));
}

QVector<DownloadAction> Download::handleFrame(const ResponseFrame &frame)
{
    QVector<DownloadAction> actions;
    if (!m_running)
        return actions;
    auto add = [&actions](DownloadAction::Kind kind, const QString &text = QString(),
                          const QByteArray &bytes = QByteArray(), const QDate &day = QDate()) {
        actions.append(DownloadAction{kind, text, bytes, day});
    };

    if (frame.status == StatusFileStart) {
        add(DownloadAction::ShowProgress,
            QCoreApplication::translate("MainWindow", "DVR creat vdr file.....") + dayText());
        m_lastPackId = 0;
        m_dayFileData.clear();
        m_dayTooLarge = false;
    } else if (frame.status == StatusPackage) {
        add(DownloadAction::ShowProgress,
            QCoreApplication::translate("MainWindow", "Downlog Package.....") + dayText());
        m_lastPackId = frame.packId;
        add(DownloadAction::Send, QString(), commandFrame(m_requestFrame, CmdPackageAck));
    }

    if (!frame.payload.isEmpty() && !m_dayTooLarge) {
        if (m_dayFileData.size() > kMaxDayFileSize - frame.payload.size()) {
            m_dayTooLarge = true;
            m_dayFileData = QByteArray();
            add(DownloadAction::DebugLine, QStringLiteral("day file too large: ") + dayText());
        } else {
            m_dayFileData.append(frame.payload);
        }
    }

    if (frame.status == StatusFileEnd) {
        if (m_dayTooLarge && !m_unwritten.contains(m_currentDate))
            m_unwritten.append(m_currentDate);
        // The recorder numbers its end frame one below the last data package. It waits for
        // the answer before it finishes the day, also when the day was too large to keep.
        if (int(m_lastPackId) == int(frame.packId) + 1) {
            if (!m_dayTooLarge)
                add(DownloadAction::WriteDay, QString(), m_dayFileData, m_currentDate);
            add(DownloadAction::Send, QString(), commandFrame(m_requestFrame, CmdFileWritten));
        }
    }

    if (frame.status == StatusDayDone || frame.status == StatusDayDoneAlt) {
        add(DownloadAction::DebugLine, QStringLiteral("E_FT_CMD_STATUS_MAX"));
        const QDate next = m_currentDate.addDays(1);
        m_currentDate = next;
        if (next.isValid() && next <= m_endDate) {
            add(DownloadAction::RequestDay, QString(), QByteArray(), next);
        } else {
            m_running = false;
            add(DownloadAction::Finish);
        }
    }
    return actions;
}

void Download::resetAfterError()
{
    m_lastPackId = 0;
    m_dayFileData.clear();
    m_dayTooLarge = false;
}

void Download::noteUnwritten(const QDate &day)
{
    if (!m_unwritten.contains(day))
        m_unwritten.append(day);
}

bool writeDayFile(const QString &directory, const QDate &day, const QByteArray &data, QString *error)
{
    const QString path = directory + QLatin1Char('/') + vdr::normalisedDayFileName(day);
    auto fail = [&](const QString &reason) {
        // A day file that could not be replaced must not stay behind with older data.
        if (QFile::exists(path))
            QFile::remove(path);
        if (error)
            *error = reason;
        return false;
    };
    if (!QDir().mkpath(directory))
        return fail(QStringLiteral("cannot create %1").arg(directory));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    if (file.write(data) != data.size()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    if (!file.commit())
        return fail(file.errorString());
    return true;
}

} // namespace serial
