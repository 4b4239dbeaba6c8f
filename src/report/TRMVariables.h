#pragma once
// A set of named report values. Names compare without regard to letter case; storing an
// existing name replaces its value. The engine keeps one process-wide set that callers fill
// (`TRMVariables::global()`) and one per report, cleared at each preparation.
#include <QList>
#include <QString>
#include <QVariant>

namespace kestrane::report {

class TRMVariables {
public:
    void SetVariable(const QString& name, const QVariant& value);
    // The value, or an empty variant when the name is absent.
    QVariant GetVariable(const QString& name) const;
    // Looks the name up; true and the value when present.
    bool find(const QString& name, QVariant& value) const;
    int IndexOf(const QString& name) const;
    int Count() const { return int(m_items.size()); }
    QString NameAt(int index) const;
    QVariant ValueAt(int index) const;
    void Delete(int index);
    void Clear() { m_items.clear(); }

    // The process-wide set the callers fill before a print.
    static TRMVariables& global();

private:
    struct Item {
        QString name;
        QString key; // case-folded name
        QVariant value;
    };
    QList<Item> m_items;
};

} // namespace kestrane::report
