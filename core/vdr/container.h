#pragma once

#include <QByteArray>
#include <QString>
#include <QVector>

// The day file container:
//   u16 blockCnt | blockCnt blocks | u8 checksum (XOR of every byte before it)
// Each block:
//   u8 dataID | 18-byte zero-terminated name | u32 dataSize | dataSize bytes of data
// Numbers are little-endian. The blocks must lie before the checksum byte.
namespace vdr {

enum DataType : quint8
{
    FaultEventBlock = 0,
    SpeedBlock = 1,
    TechnologyBlock = 2,
    DrivingBlock = 3,
    LocationBlock = 4,
};

constexpr int kBlockHeaderSize = 23;
constexpr int kBlockNameSize = 18;

struct BlockInfo
{
    quint8 dataId = 0;
    QByteArray name;      // up to the first zero byte of the name field
    quint32 dataSize = 0; // as stored
    qint64 headerOffset = 0;
    qint64 dataOffset = 0; // headerOffset + 23
};

struct ContainerWalk
{
    enum Stop
    {
        Complete,        // every block lies inside the data
        CountTruncated,  // not even the block count fits before the checksum byte
        HeaderTruncated, // a block header runs past the end of the data
        DataTruncated,   // a block's data runs past the end of the data
    };

    quint8 computedChecksum = 0;
    quint8 fileChecksum = 0;
    bool checksumOk() const { return computedChecksum == fileChecksum; }

    quint16 blockCount = 0;    // as stored (0 when it could not be read)
    QVector<BlockInfo> blocks; // the blocks that lie wholly inside the data, in file order
    Stop stop = Complete;
    BlockInfo failedBlock;  // with DataTruncated: the header of the block that does not fit
    qint64 finalOffset = 0; // where the walk ended
    qint64 dataEnd = 0;     // offset of the checksum byte: blocks must end at or before it

    bool complete() const { return stop == Complete; }
};

// XOR of `size` bytes.
quint8 xorChecksum(const char *data, qint64 size);

// Checks the checksum and walks the blocks without reading a byte past the end.
// An empty input gives a walk with stop CountTruncated.
ContainerWalk walkContainer(const QByteArray &data);

// English description of why a walk stopped early, e.g. for a report; empty when complete.
QString walkProblemText(const ContainerWalk &walk);

} // namespace vdr
