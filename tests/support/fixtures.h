// Small helpers shared by the decoder and route tests.
#pragma once

#include "core/vdr/dayreport.h"

#include <QByteArray>
#include <QDateTime>
#include <QRegularExpression>
#include <QScopedArrayPointer>
#include <QStringList>

#include <cstring>

namespace fixtures {

const QDate kDay(2024, 1, 31);

inline QDateTime at(int h, int m, int s = 0, int ms = 0)
{
    return QDateTime(kDay, QTime(h, m, s, ms));
}

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
