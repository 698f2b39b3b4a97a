// Small helpers shared by the decoder and window tests.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QScopedArrayPointer>

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

} // namespace fixtures
