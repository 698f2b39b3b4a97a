#include "core/vdr/faultevent.h"

#include "core/vdr/recordertime.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstring>
#include <iterator>

namespace vdr {

namespace {

constexpr int kErrorRecordSize = 15;
constexpr int kEventRecordSize = 16;

quint16 u16At(const uchar *p)
{
    return quint16(p[0] | (p[1] << 8));
}

FaultEventRecord recordAt(const uchar *p, bool isEvent)
{
    FaultEventRecord record;
    record.type = char(p[0]);
    std::memcpy(record.start.data(), p + 1, 7);
    std::memcpy(record.end.data(), p + 8, 7);
    if (isEvent)
        record.total = p[15];
    return record;
}

QString cell(const QString &value)
{
    return QStringLiteral("<td>") + value + QStringLiteral("</td>");
}

QString headerCells()
{
    return QStringLiteral("<td width=\"80\" >") + QCoreApplication::translate("MainWindow", "Index") +
           QStringLiteral("</td>") + QStringLiteral("<td width=\"170\">") +
           QCoreApplication::translate("MainWindow", "Type") + QStringLiteral("</td>") +
           QStringLiteral("<td width=\"200\">") + QCoreApplication::translate("MainWindow", "Start") +
           QStringLiteral("</td>") + QStringLiteral("<td width=\"150\">") +
           QCoreApplication::translate("MainWindow", "Duration") + QStringLiteral("</td>");
}

QString recordCells(int index, const FaultEventRecord &record, bool isEvent)
{
    return cell(QString::number(index)) + cell(faultTypeText(record.type)) +
           cell(recorderTimeText(record.start.data())) +
           cell(faultDurationText(record.start.data(), record.end.data(), isEvent,
                                  faultTypeNumber(record.type)));
}

QString timeRange(const FaultEventRecord &record)
{
    return QStringLiteral("Time:") + recorderTimeText(record.start.data()) + QStringLiteral("-") +
           recorderTimeText(record.end.data());
}

} // namespace

FaultEventResult decodeFaultEventBlock(const uchar *data, quint32 size)
{
    FaultEventResult result;
    result.size = size;

    // The error count must lie inside the block before it is read.
    if (size >= 2)
        result.errorCount = u16At(data);
    result.errorEnd = 2 + qint64(kErrorRecordSize) * result.errorCount;
    if (size < 2 || result.errorEnd > size) {
        result.failure = SizeError::Errors;
        return result;
    }
    result.errors.reserve(result.errorCount);
    for (int i = 0; i < result.errorCount; ++i)
        result.errors.append(recordAt(data + 2 + i * kErrorRecordSize, false));

    // The event count lies at errorEnd; a block that stops before it fails the event section.
    const bool countFits = result.errorEnd + 2 <= size;
    if (countFits)
        result.eventCount = u16At(data + result.errorEnd);
    result.eventEnd = result.errorEnd + 2 + qint64(kEventRecordSize) * result.eventCount;
    if (!countFits || result.eventEnd != size) {
        result.failure = SizeError::Events;
        return result;
    }
    result.events.reserve(result.eventCount);
    const uchar *events = data + result.errorEnd + 2;
    for (int j = 0; j < result.eventCount; ++j)
        result.events.append(recordAt(events + j * kEventRecordSize, true));
    return result;
}

int faultTypeNumber(char type)
{
    return (type >= '0' && type <= '9') ? type - '0' : 0;
}

QString faultTypeText(char type, Texts texts)
{
    static const char *const names[] = {
        QT_TRANSLATE_NOOP("MainWindow", "Power Loss"),
        QT_TRANSLATE_NOOP("MainWindow", "Security Event"),
        QT_TRANSLATE_NOOP("MainWindow", "Driving Over"),
        QT_TRANSLATE_NOOP("MainWindow", "Download Fail"),
        QT_TRANSLATE_NOOP("MainWindow", "Storage Fail"),
        QT_TRANSLATE_NOOP("MainWindow", "GPS Fail"),
        QT_TRANSLATE_NOOP("MainWindow", "Speed Pulse Fail"),
        QT_TRANSLATE_NOOP("MainWindow", "SOC Fail"),
    };
    const int number = faultTypeNumber(type);
    return number < int(std::size(names)) ? viewerText(names[number], texts) : QString();
}

QString faultDurationText(const uchar *start, const uchar *end, bool isEvent, int type, Texts texts)
{
    // An interval is open when exactly one of its stamps is not a valid date-time (an end
    // still stored as zeros: an event that is running), or when it ends before it starts.
    // Seconds are taken in 64 bits, so no date wraps around.
    const QDateTime from = recorderDateTime(start);
    const QDateTime to = recorderDateTime(end);
    if (!from.isValid() && !to.isValid())
        return QStringLiteral("00:00:00");
    const bool open = from.isValid() != to.isValid() || to.toSecsSinceEpoch() < from.toSecsSinceEpoch();
    if (open) {
        if (isEvent && type == 2)
            return viewerText(QT_TRANSLATE_NOOP("MainWindow", "continuing"), texts);
        return QStringLiteral("00:00:00");
    }
    const quint64 d = quint64(to.toSecsSinceEpoch() - from.toSecsSinceEpoch());
    return QString::asprintf("%02llu:%02llu:%02llu", d / 3600, (d / 60) % 60, d % 60);
}

QString errorTableHtml(const FaultEventResult &result)
{
    QString html;
    html.reserve(200 + result.errors.size() * 120);
    html += QStringLiteral("<TABLE align=\"left\" border=\"1\" width=\"600\" >");
    html += QStringLiteral("<tr>");
    html += QStringLiteral("<td colspan=\"3\">") + QCoreApplication::translate("MainWindow", "Error Record") +
            QStringLiteral("</td>");
    html += QStringLiteral("<td colspan=\"1\">") + QCoreApplication::translate("MainWindow", "Count:") +
            QString::number(result.errorCount) + QStringLiteral("</td>");
    html += QStringLiteral("</tr>");
    html += QStringLiteral("<tr>") + headerCells() + QStringLiteral("</tr>");
    for (int i = 0; i < result.errors.size(); ++i)
        html +=
            QStringLiteral("<tr>") + recordCells(i + 1, result.errors.at(i), false) + QStringLiteral("</tr>");
    html += QStringLiteral("</TABLE> <br>");
    return html;
}

QString eventTableHtml(const FaultEventResult &result)
{
    QString html;
    html.reserve(200 + result.events.size() * 140);
    html += QStringLiteral("<TABLE align=\"left\" border=\"1\" width=\"720\" >");
    html += QStringLiteral("<tr>");
    html += QStringLiteral("<td colspan=\"3\">") + QCoreApplication::translate("MainWindow", "Event Record") +
            QStringLiteral("</td>");
    html += QStringLiteral("<td colspan=\"2\">") + QCoreApplication::translate("MainWindow", "Count:") +
            QString::number(result.eventCount) + QStringLiteral("</td>");
    html += QStringLiteral("</tr>");
    html += QStringLiteral("<tr>") + headerCells() + QStringLiteral("<td width=\"120\">") +
            QCoreApplication::translate("MainWindow", "Count") + QStringLiteral("</td>") +
            QStringLiteral("</tr>");
    for (int j = 0; j < result.events.size(); ++j) {
        const FaultEventRecord &record = result.events.at(j);
        html += QStringLiteral("<tr>") + recordCells(j + 1, record, true) +
                cell(QString::number(record.total)) + QStringLiteral("</tr>");
    }
    html += QStringLiteral("</TABLE>");
    return html;
}

QStringList faultEventTablesHtml(const FaultEventResult &result)
{
    QStringList tables;
    if (result.failure == SizeError::Errors)
        return tables;
    tables << errorTableHtml(result);
    if (result.ok())
        tables << eventTableHtml(result);
    return tables;
}

QString faultEventDumpHeading()
{
    return QStringLiteral("======= Error&Event Data =======");
}

BlockDump faultEventDump(const FaultEventResult &result)
{
    BlockDump dump;
    if (result.failure == SizeError::Errors) {
        dump.lines << sizeErrorText(result.failure);
        dump.debugLine = QString::asprintf("Error-parseData_00-1 DataSize:%d  ofsset:%d ", int(result.size),
                                           int(result.errorEnd));
        return dump;
    }
    dump.lines << QStringLiteral("Error ") + QStringLiteral("Count:") + QString::number(result.errorCount);
    for (const FaultEventRecord &record : result.errors)
        dump.lines << QStringLiteral("Type:") + QChar::fromLatin1(record.type) + QStringLiteral("   ") +
                          timeRange(record);

    if (result.failure == SizeError::Events) {
        dump.lines << sizeErrorText(result.failure);
        dump.debugLine = QString::asprintf("Error-parseData_00-2 DataSize:%d  ofsset:%d ", int(result.size),
                                           int(result.eventEnd));
        return dump;
    }
    dump.lines << QStringLiteral("Event ") + QStringLiteral("Count:") + QString::number(result.eventCount);
    for (const FaultEventRecord &record : result.events)
        dump.lines << QStringLiteral("Type:") + QChar::fromLatin1(record.type) + QStringLiteral("   ") +
                          timeRange(record) + QStringLiteral("   ") + QStringLiteral("Total Count:") +
                          QString::number(record.total);
    return dump;
}

} // namespace vdr
