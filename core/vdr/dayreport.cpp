#include "core/vdr/dayreport.h"

namespace vdr {

BlockReport decodeBlock(const BlockInfo &info, const uchar *data)
{
    BlockReport block;
    block.info = info;
    const quint32 size = info.dataSize;
    switch (info.dataId) {
    case FaultEventBlock:
        block.faultEvent = decodeFaultEventBlock(data, size);
        block.failure = block.faultEvent.failure;
        break;
    case SpeedBlock:
        block.speed = decodeSpeedBlock(data, size);
        block.failure = block.speed.failure;
        break;
    case TechnologyBlock:
        block.technology = decodeTechnologyBlock(data, size);
        block.failure = block.technology.failure;
        break;
    case DrivingBlock:
        // A block of more than 2 GB cannot lie in a file that is read whole anyway.
        block.driving = decodeDrivingBlock(data, int(qMin<quint32>(size, 0x7FFFFFFF)));
        block.failure = block.driving.failure;
        break;
    case LocationBlock:
        block.location = decodeLocationBlock(data, size);
        block.failure = block.location.failure();
        break;
    default:
        break;
    }
    return block;
}

void DayReport::addBlock(const BlockReport &block)
{
    blocks.append(block);
    if (block.info.dataId == DrivingBlock && block.ok())
        appendDriverChanges(driverChanges, block.driving);
}

QString DayReport::carNumber() const
{
    for (int i = blocks.size() - 1; i >= 0; --i) {
        const BlockReport &block = blocks.at(i);
        if (block.info.dataId == TechnologyBlock && block.technology.failure != SizeError::Device)
            return block.technology.device.carNo;
    }
    return QString();
}

const BlockReport *DayReport::lastBlock(quint8 dataId) const
{
    for (int i = blocks.size() - 1; i >= 0; --i)
        if (blocks.at(i).info.dataId == dataId)
            return &blocks.at(i);
    return nullptr;
}

const BlockReport *DayReport::lastSoundBlock(quint8 dataId) const
{
    for (int i = blocks.size() - 1; i >= 0; --i)
        if (blocks.at(i).info.dataId == dataId && blocks.at(i).ok())
            return &blocks.at(i);
    return nullptr;
}

DayReport analyseDayFile(const QString &fileName, const QByteArray &data)
{
    DayReport report;
    report.fileName = fileName;
    report.name = checkDayFileName(fileName);
    report.data = data;
    report.walk = walkContainer(report.data);

    const uchar *bytes = reinterpret_cast<const uchar *>(report.data.constData());
    report.blocks.reserve(report.walk.blocks.size());
    for (const BlockInfo &info : report.walk.blocks)
        report.addBlock(decodeBlock(info, bytes + info.dataOffset));
    return report;
}

QStringList DayReport::problems() const
{
    QStringList out;
    if (!name.threeParts)
        out << QStringLiteral("file name does not split into three parts at '_'");
    else if (!name.day.isValid())
        out << QStringLiteral("file name does not name a valid day");
    if (data.isEmpty()) {
        out << QStringLiteral("no data in the file");
        return out;
    }
    if (!walk.checksumOk())
        out << QStringLiteral("checksum computed 0x%1, stored 0x%2")
                   .arg(walk.computedChecksum, 2, 16, QLatin1Char('0'))
                   .arg(walk.fileChecksum, 2, 16, QLatin1Char('0'));
    for (int i = 0; i < blocks.size(); ++i) {
        const BlockReport &block = blocks.at(i);
        if (!block.ok())
            out << QStringLiteral("block %1 (data type %2, %3 bytes): %4")
                       .arg(i + 1)
                       .arg(block.info.dataId)
                       .arg(block.info.dataSize)
                       .arg(block.message());
    }
    if (!walk.complete())
        out << walkProblemText(walk);
    return out;
}

} // namespace vdr
