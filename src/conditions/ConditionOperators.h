#pragma once
// The operator words the condition dialog offers, in the order of its operator combo. A word
// is identified by its position in this list.
#include <QString>
#include <QStringList>

namespace kestrane::conditions {

enum OperatorIndex : int {
    OpEqual = 0,       // "等于"
    OpGreater = 1,     // "大于"
    OpGreaterEq = 2,   // "大于等于"
    OpLess = 3,        // "小于"
    OpLessEq = 4,      // "小于等于"
    OpNotEqual = 5,    // "不等于"
    OpContains = 6,    // "部分等于"
    OpNotContains = 7, // "部分不等于"
    OpStartsWith = 8,  // "左等于"
};

// The nine words in combo order.
const QStringList& operatorWords();
// Position of `word` in the list, or -1 when it is none of them.
int operatorIndex(const QString& word);
// The SQL text of the operator at `index` (" = ", " LIKE ", ...); empty outside the list.
QString operatorSql(int index);

} // namespace kestrane::conditions
