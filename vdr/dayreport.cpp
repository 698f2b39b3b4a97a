#include "vdr/dayreport.h"

namespace vdr {

QString speedSizeMessage()
{
    return QStringLiteral("DT_SPD_DATA Data Size Error");
}

QString drivingSizeMessage()
{
    return QStringLiteral("DT_DRIVE_DATA Data Size Error");
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
    for (const BlockInfo &info : report.walk.blocks) {
        BlockReport block;
        block.info = info;
        const uchar *p = bytes + info.dataOffset;
        switch (info.dataId) {
        case FaultEventBlock:
            block.faultEvent = decodeFaultEventBlock(p, info.dataSize);
            block.failure = block.faultEvent.message();
            break;
        case SpeedBlock:
            block.speed = SpeedRecords(p, info.dataSize);
            if (!block.speed.sizeOk())
                block.failure = speedSizeMessage();
            break;
        case TechnologyBlock:
            block.technology =
                decodeTechnologyBlock(p, info.dataSize, useNewTechnologyLayout(p, info.dataSize));
            block.failure = block.technology.message();
            break;
        case DrivingBlock:
            // The viewer's page takes a block of at most 2 GB; larger sizes cannot lie in a file
            // it reads anyway.
            block.driving = decodeDrivingBlock(p, int(qMin<quint32>(info.dataSize, 0x7FFFFFFF)));
            if (!block.driving.sizeOk)
                block.failure = drivingSizeMessage();
            else
                appendDriverChanges(report.driverChanges, block.driving);
            break;
        case LocationBlock:
            block.location = decodeLocationBlock(p, info.dataSize);
            block.failure = block.location.message();
            break;
        default:
            block.known = false;
            break;
        }
        report.blocks.append(block);
    }
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
                       .arg(block.failure);
    }
    if (!walk.complete())
        out << walkProblemText(walk);
    return out;
}

} // namespace vdr
