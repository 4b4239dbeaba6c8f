#include "report/TRMVariables.h"

namespace kestrane::report {

void TRMVariables::SetVariable(const QString& name, const QVariant& value) {
    const int i = IndexOf(name);
    if (i >= 0)
        m_items[i].value = value;
    else
        m_items.append(Item{name, name.toCaseFolded(), value});
}

QVariant TRMVariables::GetVariable(const QString& name) const {
    QVariant v;
    find(name, v);
    return v;
}

bool TRMVariables::find(const QString& name, QVariant& value) const {
    const int i = IndexOf(name);
    if (i < 0)
        return false;
    value = m_items[i].value;
    return true;
}

int TRMVariables::IndexOf(const QString& name) const {
    const QString key = name.toCaseFolded();
    for (int i = 0; i < m_items.size(); ++i)
        if (m_items[i].key == key)
            return i;
    return -1;
}

QString TRMVariables::NameAt(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index].name : QString();
}

QVariant TRMVariables::ValueAt(int index) const {
    return index >= 0 && index < m_items.size() ? m_items[index].value : QVariant();
}

void TRMVariables::Delete(int index) {
    if (index >= 0 && index < m_items.size())
        m_items.removeAt(index);
}

TRMVariables& TRMVariables::global() {
    static TRMVariables instance;
    return instance;
}

} // namespace kestrane::report
