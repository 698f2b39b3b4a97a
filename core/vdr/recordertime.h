#pragma once

#include <QDateTime>
#include <QString>

#include <limits>

// The recorder's timestamp: 7 bytes of packed BCD (century, year of the century, month,
// day, hour, minute, second) in local time.
namespace vdr {

constexpr int kRecorderTimeSize = 7;

// Text shown for a timestamp that does not form a valid date and time.
inline QString noTimeText()
{
    return QStringLiteral("----/--/-- --:--:--");
}

// One packed-BCD byte as high nibble x 10 + low nibble, nibbles not checked (0x1F reads 25),
// taken as a signed 8-bit number.
inline int bcdValue(uchar byte)
{
    return static_cast<qint8>(static_cast<uchar>((byte >> 4) * 10 + (byte & 0x0F)));
}

// The timestamp at p as a local date-time, not checked: an invalid date gives an invalid
// date-time, a valid date with an invalid time gives that day at midnight.
QDateTime recorderDateTime(const uchar *p);

// "yyyy/MM/dd hh:mm:ss", or noTimeText() when date or time is not valid, or when they name a
// local time that does not exist (skipped when the clocks go forward).
QString recorderTimeText(const uchar *p);

// Timestamps to milliseconds since the epoch, many in a row. A day of 24 hours (the clocks do
// not change on it) is its midnight plus the time of day: one time-zone lookup per day instead
// of one per stamp. Other days take each stamp as a local date-time.
class RecorderClock
{
public:
    // A stamp whose date or time is not valid, or that names a local time that does not exist.
    static constexpr qint64 kInvalid = std::numeric_limits<qint64>::min();
    qint64 ms(const uchar *p);

private:
    QDate m_day;
    qint64 m_midnight = 0;
    bool m_regular = false;
};

} // namespace vdr
