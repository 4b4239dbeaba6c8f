#include "conditions/ConditionOperators.h"

namespace kestrane::conditions {

namespace {
struct OperatorEntry {
    const char16_t* word;
    const char* sql;
};

constexpr OperatorEntry kOperators[] = {
    {u"等于", " = "},        {u"大于", " > "},
    {u"大于等于", " >= "},   {u"小于", " < "},
    {u"小于等于", " <= "},   {u"不等于", " <> "},
    {u"部分等于", " LIKE "}, {u"部分不等于", " NOT LIKE "},
    {u"左等于", " LIKE "},
};
constexpr int kOperatorCount = int(std::size(kOperators));
} // namespace

const QStringList& operatorWords() {
    static const QStringList words = [] {
        QStringList list;
        for (const OperatorEntry& entry : kOperators)
            list.append(QString::fromUtf16(entry.word));
        return list;
    }();
    return words;
}

int operatorIndex(const QString& word) {
    return int(operatorWords().indexOf(word));
}

QString operatorSql(int index) {
    if (index < 0 || index >= kOperatorCount)
        return QString();
    return QString::fromLatin1(kOperators[index].sql);
}

} // namespace kestrane::conditions
