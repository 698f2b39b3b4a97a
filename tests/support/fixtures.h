// Small helpers shared by the tests of the day model, its pages and charts, and the route.
#pragma once

#include "core/vdr/dayreport.h"
#include "vdrencoder.h"

#include <QByteArray>
#include <QDateTime>
#include <QRegularExpression>
#include <QScopedArrayPointer>
#include <QStringList>

#include <cstring>
#include <ctime>

namespace fixtures {

const QDate kDay(2024, 1, 31);

inline QDateTime at(int h, int m, int s = 0, int ms = 0)
{
    return QDateTime(kDay, QTime(h, m, s, ms));
}

// A driving record of a day at h:m:s: the driver's ID and action, master 1.
inline vdrenc::DrivingRecord driving(const QByteArray &id, int action, int h, int m, int s = 0,
                                     bool current = true, const QDate &day = kDay)
{
    return {id, vdrenc::drivingStatus(current, action, 1),
            vdrenc::stamp(day.year(), day.month(), day.day(), h, m, s)};
}

// A speed record from start: every sample at speed, the mileage counting up from mileage.
inline vdrenc::SpeedRecord speedMinute(const QDateTime &start, int speed = 50, quint32 mileage = 1000)
{
    vdrenc::SpeedRecord r;
    r.start = vdrenc::stamp(start);
    r.speed.fill(quint8(speed));
    for (int j = 0; j < 120; ++j)
        r.mileage[size_t(j)] = mileage + quint32(j);
    return r;
}

// The local time zone is the given one while this lives (an empty name keeps the test's own).
struct ZoneGuard
{
    const QByteArray old = qgetenv("TZ");
    const bool had = qEnvironmentVariableIsSet("TZ");
    explicit ZoneGuard(const QByteArray &zone)
    {
        if (!zone.isEmpty())
            qputenv("TZ", zone);
        tzset();
    }
    ~ZoneGuard()
    {
        had ? qputenv("TZ", old) : qunsetenv("TZ");
        tzset();
    }
};

inline const uchar *bytes(const QByteArray &data)
{
    return reinterpret_cast<const uchar *>(data.constData());
}

// Exactly the block's bytes on the heap: a read past its end shows under the sanitizers.
struct HeapCopy
{
    explicit HeapCopy(const QByteArray &block)
        : data(new uchar[size_t(qMax(1, block.size()))]), size(uint(block.size()))
    {
        memcpy(data.data(), block.constData(), size_t(block.size()));
    }
    QScopedArrayPointer<uchar> data;
    uint size;
};

// A block of the given data type as the day model holds it, decoded from exactly its bytes.
inline vdr::BlockReport decode(quint8 dataId, const QByteArray &block)
{
    const HeapCopy exact(block);
    vdr::BlockInfo info;
    info.dataId = dataId;
    info.dataSize = exact.size;
    return vdr::decodeBlock(info, exact.data.data());
}

// The cells of every row of HTML tables, row by row: what a page shows of them.
inline QList<QStringList> htmlCells(const QString &html)
{
    static const QRegularExpression row(QStringLiteral("<tr>(.*?)</tr>"));
    static const QRegularExpression cell(QStringLiteral("<td[^>]*>(.*?)</td>"));
    QList<QStringList> rows;
    for (auto r = row.globalMatch(html); r.hasNext();) {
        QStringList cells;
        for (auto c = cell.globalMatch(r.next().captured(1)); c.hasNext();)
            cells << c.next().captured(1);
        rows << cells;
    }
    return rows;
}

} // namespace fixtures
