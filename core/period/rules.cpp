#include "core/period/rules.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QJsonValue>

#include <QSet>

#include <cmath>
#include <vector>

namespace period {

namespace {

constexpr int kMaxNameLength = 200;
constexpr int kWeekMinutes = 7 * 24 * 60;

struct NumberField
{
    const char *key;
    int RuleSet::*member;
    int min, max;
};

const NumberField kNumberFields[] = {
    {"dailyDrivingMaxMinutes", &RuleSet::dailyDrivingMaxMinutes, 1, kWeekMinutes},
    {"continuousDrivingMaxMinutes", &RuleSet::continuousDrivingMaxMinutes, 1, kWeekMinutes},
    {"breakMinutes", &RuleSet::breakMinutes, 1, kWeekMinutes},
    {"breakPartMinutes", &RuleSet::breakPartMinutes, 1, kWeekMinutes},
    {"exceptionDrivingMaxMinutes", &RuleSet::exceptionDrivingMaxMinutes, 1, kWeekMinutes},
    {"exceptionBreakMinutes", &RuleSet::exceptionBreakMinutes, 1, kWeekMinutes},
    {"dailyRestMinutes", &RuleSet::dailyRestMinutes, 1, kWeekMinutes},
    {"reducedDailyRestMinutes", &RuleSet::reducedDailyRestMinutes, 1, kWeekMinutes},
    {"reducedRestsPerWeek", &RuleSet::reducedRestsPerWeek, 0, 7},
    {"workingDayMaxMinutes", &RuleSet::workingDayMaxMinutes, 1, kWeekMinutes},
};

const char kNameKey[] = "name";
const char kConsecutiveKey[] = "reducedRestsOnConsecutiveDays";

// Numbers that must not contradict each other: the first may not exceed the second.
struct Order
{
    const char *smaller;
    const char *larger;
};
const Order kOrders[] = {
    {"breakPartMinutes", "breakMinutes"},
    {"continuousDrivingMaxMinutes", "exceptionDrivingMaxMinutes"},
    {"breakMinutes", "exceptionBreakMinutes"},
    {"reducedDailyRestMinutes", "dailyRestMinutes"},
};

int numberOf(const RuleSet &rules, const char *key)
{
    for (const NumberField &f : kNumberFields)
        if (qstrcmp(f.key, key) == 0)
            return rules.*f.member;
    return 0;
}

QString valueText(const QJsonValue &value)
{
    switch (value.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return value.toBool() ? QStringLiteral("true") : QStringLiteral("false");
    case QJsonValue::Double:
        return QString::number(value.toDouble(), 'g', 17);
    case QJsonValue::String:
        return QLatin1Char('"') + value.toString().left(40) + QLatin1Char('"');
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    case QJsonValue::Undefined:
        break;
    }
    return QStringLiteral("nothing");
}

RulesRead failure(const QString &field, const QString &text)
{
    RulesRead read;
    read.field = field;
    read.error = field.isEmpty() ? text : QStringLiteral("field \"%1\": %2").arg(field, text);
    return read;
}

// The text of a JSON string given with its quotes, escapes decoded; the raw text when it does
// not decode.
QString stringText(const QByteArray &quoted)
{
    const QJsonDocument one = QJsonDocument::fromJson('[' + quoted + ']');
    return one.isArray() ? one.array().at(0).toString() : QString::fromUtf8(quoted.mid(1, quoted.size() - 2));
}

struct RepeatedKey
{
    QString field; // the top-level field holding the repeat (the repeated key itself at the top)
    QString key;
};

// Finds a key given twice in one object, at any depth. A JSON reader silently keeps one of the
// two values, so a file that sets a field twice is refused rather than half-read; and Qt 5's
// reader leaks the value it drops when that is an object or array, so such a file is never
// handed to it.
bool findRepeatedKey(const QByteArray &json, RepeatedKey *repeat)
{
    struct Frame
    {
        bool object;
        bool expectKey;
        QSet<QString> keys;
    };
    std::vector<Frame> stack;
    QString topKey;
    const int n = json.size();
    for (int i = 0; i < n; ++i) {
        switch (json.at(i)) {
        case '{':
            stack.push_back({true, true, {}});
            break;
        case '[':
            stack.push_back({false, false, {}});
            break;
        case '}':
        case ']':
            if (!stack.empty())
                stack.pop_back();
            break;
        case ':':
            if (!stack.empty())
                stack.back().expectKey = false;
            break;
        case ',':
            if (!stack.empty())
                stack.back().expectKey = stack.back().object;
            break;
        case '"': {
            const int start = i;
            for (++i; i < n && json.at(i) != '"'; ++i)
                if (json.at(i) == '\\')
                    ++i;
            if (stack.empty() || !stack.back().object || !stack.back().expectKey)
                break;
            const QString key = stringText(json.mid(start, i - start + 1));
            if (stack.size() == 1)
                topKey = key;
            if (stack.back().keys.contains(key)) {
                *repeat = {topKey, key};
                return true;
            }
            stack.back().keys.insert(key);
            break;
        }
        default:
            break;
        }
    }
    return false;
}

} // namespace

bool RuleSet::operator==(const RuleSet &o) const
{
    for (const NumberField &f : kNumberFields)
        if (this->*f.member != o.*f.member)
            return false;
    return name == o.name && reducedRestsOnConsecutiveDays == o.reducedRestsOnConsecutiveDays;
}

RulesRead readRules(const QByteArray &json)
{
    if (json.size() > kMaxRulesFileSize)
        return failure(QString(),
                       QStringLiteral("the rules file is larger than %1 KiB").arg(kMaxRulesFileSize / 1024));
    RepeatedKey repeat;
    if (findRepeatedKey(json, &repeat))
        return failure(repeat.field,
                       repeat.key == repeat.field
                           ? QStringLiteral("given more than once")
                           : QStringLiteral("\"%1\" given more than once inside it").arg(repeat.key));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        return failure(QString(), QStringLiteral("not valid JSON at byte %1: %2")
                                      .arg(parseError.offset)
                                      .arg(parseError.errorString()));
    if (!doc.isObject())
        return failure(QString(), QStringLiteral("the rules file must hold one JSON object"));
    const QJsonObject object = doc.object();

    RuleSet rules;
    // Fields in the order of the file's keys (alphabetical), so the first wrong one is named.
    for (auto it = object.begin(); it != object.end(); ++it) {
        const QString key = it.key();
        const QJsonValue value = it.value();
        if (key == QLatin1String(kNameKey)) {
            const QString name = value.toString().trimmed();
            if (!value.isString() || name.isEmpty())
                return failure(key, QStringLiteral("expected the rule set's name as a non-empty text, got %1")
                                        .arg(valueText(value)));
            if (name.size() > kMaxNameLength)
                return failure(key,
                               QStringLiteral("the name is longer than %1 characters").arg(kMaxNameLength));
            rules.name = name;
            continue;
        }
        if (key == QLatin1String(kConsecutiveKey)) {
            if (!value.isBool())
                return failure(key, QStringLiteral("expected true or false, got %1").arg(valueText(value)));
            rules.reducedRestsOnConsecutiveDays = value.toBool();
            continue;
        }
        const NumberField *field = nullptr;
        for (const NumberField &f : kNumberFields)
            if (key == QLatin1String(f.key))
                field = &f;
        if (!field)
            return failure(key, QStringLiteral("unknown field"));
        const double number = value.toDouble();
        if (!value.isDouble() || std::floor(number) != number || number < field->min || number > field->max)
            return failure(key, QStringLiteral("expected a whole number from %1 to %2, got %3")
                                    .arg(field->min)
                                    .arg(field->max)
                                    .arg(valueText(value)));
        rules.*field->member = int(number);
    }
    if (!object.contains(QLatin1String(kNameKey)))
        return failure(QLatin1String(kNameKey), QStringLiteral("missing: a rules file names its rule set"));
    for (const Order &order : kOrders) {
        const int a = numberOf(rules, order.smaller), b = numberOf(rules, order.larger);
        if (a > b) {
            // Name the field the file set; with both set (or neither), the smaller one.
            const bool largerOnly = object.contains(QLatin1String(order.larger)) &&
                                    !object.contains(QLatin1String(order.smaller));
            if (largerOnly)
                return failure(QLatin1String(order.larger), QStringLiteral("%1 is less than \"%2\" (%3)")
                                                                .arg(b)
                                                                .arg(QLatin1String(order.smaller))
                                                                .arg(a));
            return failure(
                QLatin1String(order.smaller),
                QStringLiteral("%1 is more than \"%2\" (%3)").arg(a).arg(QLatin1String(order.larger)).arg(b));
        }
    }
    RulesRead read;
    read.rules = rules;
    return read;
}

QByteArray rulesJson(const RuleSet &rules)
{
    QJsonObject object;
    object.insert(QLatin1String(kNameKey), rules.name);
    for (const NumberField &f : kNumberFields)
        object.insert(QLatin1String(f.key), rules.*f.member);
    object.insert(QLatin1String(kConsecutiveKey), rules.reducedRestsOnConsecutiveDays);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace period
