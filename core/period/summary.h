#pragma once

#include "core/period/rules.h"
#include "core/vdr/tableexport.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>

#include <array>

namespace vdr {
struct DayReport;
}

// Many days at once: per vehicle and per driver a timeline across midnight and across
// consecutive day files, the figures of each day, and the working-time checks.
//
// A day file is decoded once and boiled down to a DayDigest, which keeps what the period needs
// (a few kilobytes) and none of the file's bytes; summarise() turns the digests of any number
// of files into one PeriodReport.
namespace period {

// Times are milliseconds since the epoch; a span runs from start up to, not including, end.
struct Interval
{
    qint64 start = 0;
    qint64 end = 0;
};

// Fault and event types are the digits '0'..'9' of the records (any other character counts as 0).
constexpr int kFaultTypes = 10;
using TypeCounts = std::array<int, kFaultTypes>;

constexpr int kNoSpeedValue = 0xFF;

struct DrivingEntry
{
    QString driver;
    qint64 time = 0;
    int action = 0; // the record's action code: 1 driving, 2 stopping, 3 standby, 4 resting
};

struct DayDigest
{
    QString source;  // where the bytes came from, for messages
    QDate day;       // the day the file's name gives; invalid when it gives none
    QString vehicle; // the car number of the device record; empty when there is none
    bool checksumOk = false;
    QStringList problems; // everything the reader found wrong with the file, in words

    // Driving records of the sound driving blocks whose stamps are valid times, in file order.
    // drivingKnown is false when the file has no driving block or one failed its size check:
    // the day then says nothing about who drove.
    bool drivingKnown = false;
    QString drivingProblem;
    QVector<DrivingEntry> driving;

    // Speed blocks that passed their size check: the odometer's first and last valid
    // readings, and the half-second samples per speed value. A record's samples count up to
    // the start of the next record (its whole minute when it is the last or the next starts
    // earlier), as the chart draws them.
    bool speedKnown = false;
    bool mileageKnown = false;
    quint32 firstMileage = 0; // tenths of a km
    quint32 lastMileage = 0;
    std::array<quint32, 256> speedSamples{}; // index: km/h; kNoSpeedValue is never counted
    QVector<Interval> moving;                // where a counted sample shows a speed above 0

    TypeCounts faults{}; // error records by type
    TypeCounts events{}; // event records by type (of blocks whose event section is sound)
};

// Boils a decoded day file down to what a period needs. source names the file in messages.
DayDigest digestDay(const vdr::DayReport &report, const QString &source = QString());
// Decodes the file's bytes (once) and digests them; the bytes are not kept.
DayDigest digestDayFile(const QString &fileName, const QByteArray &bytes, const QString &source = QString());

// --- The checks ----------------------------------------------------------------------------

// A driver's timeline is a list of spans in time order: driving, anything else (off the
// wheel), or no records at all (a day without a file, or a driving block that cannot be read).
enum class State
{
    Driving,
    Off,
    NoRecords,
};

struct Span
{
    qint64 start = 0;
    qint64 end = 0;
    State state = State::Off;
    QString vehicle; // the vehicle whose records say so
};

enum class FindingKind
{
    Breach,    // a rule was broken
    Exception, // kept only under the exception for continuous work or congested traffic
    Gap,       // the records cannot show whether a rule was kept
};

enum class Rule
{
    DailyDriving,
    ContinuousDriving,
    DailyRest,
    Records, // a day file or its driving records missing
};

struct Finding
{
    FindingKind kind = FindingKind::Breach;
    Rule rule = Rule::Records;
    QString driver;  // empty for a vehicle's missing day
    QString vehicle; // the vehicle driven in the span, or the vehicle of a missing day
    qint64 start = 0;
    qint64 end = 0;
    qint64 missedBy = 0; // ms by which the rule was missed (the length of a gap)
    QString text;        // English, e.g. "drove 4 h 47 min without a 30 min break ..."
};

// Driving between qualifying breaks.
struct Stretch
{
    qint64 start = 0; // start of its first driving
    qint64 end = 0;   // end of its last driving
    qint64 driving = 0;
};

// From the first driving after a rest between working days (or after the start of the
// records) to the end of the last driving before the next such rest.
struct WorkingDay
{
    qint64 start = 0;
    qint64 end = 0;
    qint64 driving = 0;
};

// A rest between two working days.
struct Rest
{
    qint64 start = 0;
    qint64 end = 0;
    bool verified = true; // false when records are missing within it and the rest seen is too short
    bool reduced = false; // at least the reduced rest, less than the full one
};

struct DriverCheck
{
    QVector<Stretch> stretches;
    QVector<WorkingDay> workingDays;
    QVector<Rest> rests;
    QVector<Finding> findings;
};

// Checks one driver's timeline (spans in time order, not overlapping). The timeline ends where
// the records end: driving or a pause at its end is judged on what is seen.
DriverCheck checkDriver(const QString &driver, const QVector<Span> &timeline, const RuleSet &rules);

// --- The period ----------------------------------------------------------------------------

// A period spans at most this many days (ten years); of a longer one the latest are kept.
constexpr int kMaxPeriodDays = 3660;

struct Options
{
    RuleSet rules;
    int speedLimitKmh = 90; // time above it is counted
    QDate from, to;         // days outside are left out; an invalid date leaves that end open
};

struct DriverTime
{
    QString driver;
    qint64 driving = 0;
};

struct VehicleDay
{
    enum Status
    {
        Read,     // a usable file
        Missing,  // no file for the day
        Unusable, // a file whose checksum does not match: not taken as evidence
    };
    QDate day;
    Status status = Missing;
    QString source;
    QStringList problems; // of the file, in words
    bool drivingKnown = false;
    qint64 distance = -1;          // tenths of a km; -1 when the odometer gives none
    int maxSpeed = -1;             // km/h; -1 when there is no speed sample
    qint64 aboveLimit = 0;         // ms above the speed limit
    qint64 moving = 0;             // ms with a speed above 0
    qint64 movingUnattributed = 0; // ms of that with no driver recorded as driving
    QVector<DriverTime> drivers;   // driving on this day in this vehicle, by driver
    TypeCounts faults{};
    TypeCounts events{};
};

struct VehicleSummary
{
    QString vehicle;          // car number, empty when the files give none
    QVector<VehicleDay> days; // every day of the vehicle's range, in order
    qint64 distance = 0;      // sum of the days' distances
    int maxSpeed = -1;
    qint64 aboveLimit = 0;
    qint64 driving = 0;
    int daysRead = 0;
    int daysMissing = 0;
};

struct DriverDay
{
    QDate day;
    qint64 driving = 0;
    qint64 longestContinuous = 0; // the longest stretch with driving on the day (whole length)
    QStringList vehicles;         // driven on the day
};

struct DriverSummary
{
    QString driver;
    qint64 driving = 0;
    qint64 longestContinuous = 0;
    QVector<DriverDay> days; // days with driving
    QVector<WorkingDay> workingDays;
    QVector<Rest> rests;
};

struct PeriodReport
{
    Options options;
    QDate first, last; // the days covered (from the options, else the files)
    int filesUsed = 0;
    QStringList notes;                // files left out, and why
    QVector<VehicleSummary> vehicles; // by car number
    QVector<DriverSummary> drivers;   // by driver ID
    QVector<Finding> findings;        // in time order

    int count(FindingKind kind) const;
};

// The period of a set of digested days (any order; a second file of the same vehicle and day
// is left out with a note).
PeriodReport summarise(const QVector<DayDigest> &days, const Options &options);

// --- Texts ---------------------------------------------------------------------------------

// "4 h 07 min", "12 min", "4 h 00 min 30 s": durations as findings write them.
QString durationText(qint64 ms);
// The car number, or "(no car number)" for a vehicle whose files give none.
QString vehicleText(const QString &vehicle);
// "2024-01-31 06:10:23", local time.
QString timeText(qint64 ms);
// "breach", "exception", "gap" / "daily driving", ... (English, for lists and columns).
QString kindText(FindingKind kind);
QString ruleText(Rule rule);
// Machine names for JSON and CSV: "breach", ... / "dailyDriving", "continuousDriving",
// "dailyRest", "records".
QString kindKey(FindingKind kind);
QString ruleKey(Rule rule);

// The findings as a table, one row each in time order, as the exports write them: the kind and
// the rule by their machine names, the times as timeText writes them, the shortfall in whole
// seconds. csvDocument(findingsTable(...)) is the findings CSV.
enum FindingColumn
{
    FindingKindColumn,
    FindingRuleColumn,
    FindingDriverColumn,
    FindingVehicleColumn,
    FindingStartColumn,
    FindingEndColumn,
    FindingMissedByColumn,
    FindingTextColumn,
    FindingColumnCount
};
vdr::TextTable findingsTable(const QVector<Finding> &findings);

} // namespace period
