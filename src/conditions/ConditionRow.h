#pragma once
// One row of the condition list the user composes in the condition dialog: either a field
// condition (Caption, Op, Value) or a logic row that joins the conditions around it.
#include <QList>
#include <QString>

namespace kestrane::conditions {

inline const QString kLogicAnd = QStringLiteral("并且");
inline const QString kLogicOr = QStringLiteral("或者");

struct ConditionRow {
    QString Caption; // display name of the field
    QString Op;      // operator word, see ConditionOperators
    QString Value;   // the value as typed
    QString Logic;   // "并且" or "或者" on a logic row, empty on a condition row

    // A row is a logic row exactly when its Logic text is not empty.
    bool isLogic() const { return !Logic.isEmpty(); }

    static ConditionRow condition(const QString& caption, const QString& op, const QString& value) {
        return ConditionRow{caption, op, value, QString()};
    }
    static ConditionRow logic(const QString& word) {
        return ConditionRow{QString(), QString(), QString(), word};
    }

    friend bool operator==(const ConditionRow&, const ConditionRow&) = default;
};

using ConditionList = QList<ConditionRow>;

} // namespace kestrane::conditions
