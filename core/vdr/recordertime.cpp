#include "core/vdr/recordertime.h"

namespace vdr {

QDateTime recorderDateTime(const uchar *p)
{
    const int year = bcdValue(p[0]) * 100 + bcdValue(p[1]);
    const QDate date(year, bcdValue(p[2]), bcdValue(p[3]));
    const QTime time(bcdValue(p[4]), bcdValue(p[5]), bcdValue(p[6]));
    return QDateTime(date, time, Qt::LocalTime);
}

QString recorderTimeText(const uchar *p)
{
    // A valid date with an invalid time would make a valid date-time at midnight, so the
    // two are checked on their own. Both valid can still name no local time at all: the hour
    // skipped when the clocks go forward.
    const QDate date(bcdValue(p[0]) * 100 + bcdValue(p[1]), bcdValue(p[2]), bcdValue(p[3]));
    const QTime time(bcdValue(p[4]), bcdValue(p[5]), bcdValue(p[6]));
    if (!date.isValid() || !time.isValid())
        return noTimeText();
    const QDateTime t(date, time, Qt::LocalTime);
    return t.isValid() ? t.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) : noTimeText();
}

qint64 RecorderClock::ms(const uchar *p)
{
    const QDate date(bcdValue(p[0]) * 100 + bcdValue(p[1]), bcdValue(p[2]), bcdValue(p[3]));
    const QTime time(bcdValue(p[4]), bcdValue(p[5]), bcdValue(p[6]));
    if (!date.isValid() || !time.isValid())
        return kInvalid;
    if (date != m_day) {
        m_day = date;
        const QDateTime midnight(date, QTime(0, 0), Qt::LocalTime);
        const QDateTime next(date.addDays(1), QTime(0, 0), Qt::LocalTime);
        m_midnight = midnight.toMSecsSinceEpoch();
        m_regular = midnight.isValid() && next.isValid() &&
                    next.toMSecsSinceEpoch() - m_midnight == qint64(24) * 3600 * 1000;
    }
    if (m_regular)
        return m_midnight + time.msecsSinceStartOfDay();
    const QDateTime t(date, time, Qt::LocalTime);
    return t.isValid() ? t.toMSecsSinceEpoch() : kInvalid;
}

} // namespace vdr
