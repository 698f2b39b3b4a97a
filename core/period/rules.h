#pragma once

#include <QByteArray>
#include <QString>

// The working-time rules a period is checked against: the numbers of one rule set, read from a
// rules file (one JSON object) or taken from the built-in default, article 19-2 of the Taiwan
// regulation on the management of the motor transport business (large commercial vehicles).
namespace period {

struct RuleSet
{
    QString name = QStringLiteral("Article 19-2 (Taiwan, large commercial vehicles)");
    // Driving within one working day.
    int dailyDrivingMaxMinutes = 600;
    // Driving without a break; the break may be taken in parts of at least breakPartMinutes
    // (shorter stops do not count towards it).
    int continuousDrivingMaxMinutes = 240;
    int breakMinutes = 30;
    int breakPartMinutes = 15;
    // The exception for continuous work or congested traffic: continuous driving up to this
    // long, followed by one break of at least exceptionBreakMinutes.
    int exceptionDrivingMaxMinutes = 360;
    int exceptionBreakMinutes = 45;
    // The continuous rest between two working days, and how far it may be reduced, how often
    // in a calendar week (Monday to Sunday), and whether on two consecutive days.
    int dailyRestMinutes = 600;
    int reducedDailyRestMinutes = 480;
    int reducedRestsPerWeek = 2;
    bool reducedRestsOnConsecutiveDays = false;
    // A working day (from its first driving to the start of the rest after it) lasts at most
    // this long; a longer one means the rest between working days was not taken.
    int workingDayMaxMinutes = 1440;

    bool operator==(const RuleSet &o) const;
    bool operator!=(const RuleSet &o) const { return !(*this == o); }
};

// A rules file is small; anything larger is refused unread.
constexpr int kMaxRulesFileSize = 64 * 1024;

struct RulesRead
{
    RuleSet rules;
    QString field; // the field that is wrong; empty for a file that is no JSON object at all
    QString error; // in words, naming the field; empty when the file was read
    bool ok() const { return error.isEmpty(); }
};

// Reads a rules file: one JSON object with "name" (required) and any of the numeric fields
// (whole minutes; a field left out keeps its default) and the flag. Unknown fields, values of
// the wrong type or range and numbers that contradict each other are refused with a message
// that names the field.
RulesRead readRules(const QByteArray &json);

// The rule set as a rules file (indented JSON, every field).
QByteArray rulesJson(const RuleSet &rules);

} // namespace period
