// libFuzzer harness over the reading of a rules file, which an operator writes by hand. Whatever
// the bytes, the reader either names what is wrong (the field, when it is one field) or gives a
// rule set whose numbers keep their ranges and their order, which reads back unchanged from its
// own JSON, and with which the checks of a fixed timeline end with sound findings.
//
// Input layout: the whole input is the rules file.
#include "core/period/rules.h"
#include "core/period/summary.h"

#include <QByteArray>
#include <QDateTime>

#include <cstdint>
#include <cstdlib>

namespace {

void check(bool condition)
{
    if (!condition)
        std::abort();
}

// A week of working days with stretches around every default limit: long driving, parts of
// breaks, short rests and a day without records.
QVector<period::Span> timeline()
{
    const int pattern[][2] = {{1, 250}, {0, 15},  {1, 120}, {0, 20}, {1, 10},   {0, 44}, {1, 361}, {0, 45},
                              {1, 30},  {0, 480}, {1, 601}, {0, 10}, {2, 1440}, {1, 90}, {0, 599}};
    QVector<period::Span> spans;
    qint64 at = QDateTime(QDate(2024, 1, 1), QTime(6, 0)).toMSecsSinceEpoch();
    for (int round = 0; round < 3; ++round)
        for (const auto &p : pattern) {
            const qint64 length = qint64(p[1]) * 60000;
            spans.append({at, at + length,
                          p[0] == 1   ? period::State::Driving
                          : p[0] == 0 ? period::State::Off
                                      : period::State::NoRecords,
                          QStringLiteral("V")});
            at += length;
        }
    return spans;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray json(reinterpret_cast<const char *>(data), int(size));
    const period::RulesRead read = period::readRules(json);
    if (!read.ok()) {
        check(read.field.isEmpty() ||
              read.error.startsWith(QStringLiteral("field \"%1\": ").arg(read.field)));
        return 0;
    }
    const period::RuleSet &r = read.rules;
    check(!r.name.trimmed().isEmpty() && r.name.size() <= 200);
    check(r.breakPartMinutes <= r.breakMinutes && r.breakMinutes <= r.exceptionBreakMinutes);
    check(r.continuousDrivingMaxMinutes <= r.exceptionDrivingMaxMinutes);
    check(r.reducedDailyRestMinutes <= r.dailyRestMinutes);
    check(r.reducedRestsPerWeek >= 0 && r.reducedRestsPerWeek <= 7 && r.breakPartMinutes >= 1);

    const period::RulesRead again = period::readRules(period::rulesJson(r));
    check(again.ok() && again.rules == r);

    static const QVector<period::Span> spans = timeline();
    const period::DriverCheck result = period::checkDriver(QStringLiteral("A"), spans, r);
    for (const period::Finding &f : result.findings)
        check(f.start <= f.end && f.missedBy > 0 && !f.text.isEmpty() && f.start >= spans.first().start &&
              f.end <= spans.last().end);
    for (const period::Stretch &s : result.stretches)
        check(s.driving > 0 && s.driving <= s.end - s.start);
    return 0;
}
