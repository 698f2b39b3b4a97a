#pragma once

#include <QString>
#include <QStringList>

namespace vdr {

// The plain-text dump of one block for the log page: its lines in order, and the one line
// for the debug output that a size failure adds (empty when the block is sound).
struct BlockDump
{
    QStringList lines;
    QString debugLine;
};

} // namespace vdr
