#include "core/vdr/container.h"

#include <QtEndian>

#include <cstring>

namespace vdr {

quint8 xorChecksum(const char *data, qint64 size)
{
    // Eight bytes at a time, then the eight lanes and the rest folded into one byte: the same
    // XOR of every byte, without a step per byte over a whole day file.
    quint64 wide = 0;
    qint64 i = 0;
    for (; i + 8 <= size; i += 8) {
        quint64 word;
        std::memcpy(&word, data + i, sizeof word);
        wide ^= word;
    }
    quint8 sum = 0;
    for (int lane = 0; lane < 8; ++lane)
        sum ^= static_cast<quint8>(wide >> (8 * lane));
    for (; i < size; ++i)
        sum ^= static_cast<quint8>(data[i]);
    return sum;
}

ContainerWalk walkContainer(const QByteArray &data)
{
    ContainerWalk walk;
    const qint64 size = data.size();
    if (size == 0) {
        walk.stop = ContainerWalk::CountTruncated;
        return walk;
    }
    const char *bytes = data.constData();
    walk.dataEnd = size - 1;
    walk.computedChecksum = xorChecksum(bytes, walk.dataEnd);
    walk.fileChecksum = static_cast<quint8>(bytes[walk.dataEnd]);

    if (walk.dataEnd < 2) {
        walk.stop = ContainerWalk::CountTruncated;
        return walk;
    }
    walk.blockCount = qFromLittleEndian<quint16>(bytes);
    qint64 offset = 2;
    for (int i = 0; i < walk.blockCount; ++i) {
        if (walk.dataEnd - offset < kBlockHeaderSize) {
            walk.stop = ContainerWalk::HeaderTruncated;
            break;
        }
        BlockInfo block;
        block.headerOffset = offset;
        block.dataId = static_cast<quint8>(bytes[offset]);
        block.name = QByteArray(bytes + offset + 1, int(qstrnlen(bytes + offset + 1, kBlockNameSize)));
        block.dataSize = qFromLittleEndian<quint32>(bytes + offset + 19);
        block.dataOffset = offset + kBlockHeaderSize;
        if (qint64(block.dataSize) > walk.dataEnd - block.dataOffset) {
            walk.stop = ContainerWalk::DataTruncated;
            walk.failedBlock = block;
            break;
        }
        walk.blocks.append(block);
        offset = block.dataOffset + block.dataSize;
    }
    walk.finalOffset = offset;
    return walk;
}

QString walkProblemText(const ContainerWalk &walk)
{
    switch (walk.stop) {
    case ContainerWalk::Complete:
        return QString();
    case ContainerWalk::CountTruncated:
        return QStringLiteral("the file is too short to hold its block count");
    case ContainerWalk::HeaderTruncated:
        return QStringLiteral(
                   "block %1 of %2 starts at offset %3, but its header runs past the end of the data "
                   "(%4 bytes)")
            .arg(walk.blocks.size() + 1)
            .arg(walk.blockCount)
            .arg(walk.finalOffset)
            .arg(walk.dataEnd);
    case ContainerWalk::DataTruncated:
        return QStringLiteral(
                   "block %1 of %2 (data type %3) declares %4 data bytes at offset %5, past the end of "
                   "the data (%6 bytes)")
            .arg(walk.blocks.size() + 1)
            .arg(walk.blockCount)
            .arg(walk.failedBlock.dataId)
            .arg(walk.failedBlock.dataSize)
            .arg(walk.failedBlock.dataOffset)
            .arg(walk.dataEnd);
    }
    return QString();
}

} // namespace vdr
