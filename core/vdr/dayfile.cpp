#include "core/vdr/dayfile.h"

#include <QStringList>

namespace vdr {

DayNameCheck checkDayFileName(const QString &fileName)
{
    DayNameCheck check;
    const QStringList parts = fileName.split(QLatin1Char('_'), Qt::KeepEmptyParts, Qt::CaseSensitive);
    check.threeParts = parts.size() == 3;
    const QString &first = parts.first();
    check.day = QDate(first.mid(1, 4).toInt(), first.mid(5, 2).toInt(), first.mid(7, 2).toInt());
    return check;
}

QString normalisedDayFileName(const QDate &day)
{
    return day.toString(QStringLiteral("DyyyyMMdd__")) + QStringLiteral(".vdr");
}

QString dayListText(const QDate &day)
{
    return day.toString(QStringLiteral("yyyy/MM/dd"));
}

} // namespace vdr
