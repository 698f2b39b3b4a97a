#pragma once

#include <QDate>
#include <QString>

// Names of day files: "D" + yyyyMMdd + "__" + optional text + ".vdr".
namespace vdr {

struct DayNameCheck
{
    bool threeParts = false; // the name splits into exactly three pieces at '_'
    QDate day;               // the day named, invalid when the digits are not a date
    bool ok() const { return threeParts && day.isValid(); }
};

// The reader's check of a day file name (file name only, no directory): three pieces at
// '_'; in the first, characters 1-4, 5-6 and 7-8 are year, month and day (anything that is
// not a number reads 0). The first character is not looked at.
DayNameCheck checkDayFileName(const QString &fileName);

// The normalised name under which a day's file lies in the working directory:
// "DyyyyMMdd__.vdr".
QString normalisedDayFileName(const QDate &day);

// The date list's text of a day, "yyyy/MM/dd".
QString dayListText(const QDate &day);

} // namespace vdr
