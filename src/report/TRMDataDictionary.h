#pragma once
// The report's data dictionary: named variables (expressions or field references, a name
// starting with a blank is a category heading), dataset aliases and field aliases, and the
// cache of field references resolved while printing.
#include "data/Dataset.h"
#include <QHash>
#include <QList>
#include <QPair>
#include <QPointer>
#include <QString>

namespace kestrane::report {

class TRMDataDictionary {
public:
    using NameValues = QList<QPair<QString, QString>>;

    NameValues Variables;
    NameValues DatasetAliases;
    NameValues FieldAliases;

    // The value text of a dictionary variable (not a category heading); false when absent.
    bool variable(const QString& name, QString& value) const;
    bool isEmpty() const {
        return Variables.isEmpty() && DatasetAliases.isEmpty() && FieldAliases.isEmpty();
    }
    void clear();

    // Resolved field references by reference text as written.
    struct FieldRef {
        QPointer<kestrane::Dataset> dataset;
        QString field;
        int index = -1; // position in the dataset's fields
    };
    bool cached(const QString& reference, FieldRef& ref) const;
    // The cached reference itself (no copy), or nullptr.
    const FieldRef* cachedRef(const QString& reference) const;
    void cache(const QString& reference, const FieldRef& ref);
    void clearCache() { m_cache.clear(); }

    friend bool operator==(const TRMDataDictionary& a, const TRMDataDictionary& b) {
        return a.Variables == b.Variables && a.DatasetAliases == b.DatasetAliases &&
               a.FieldAliases == b.FieldAliases;
    }

private:
    QHash<QString, FieldRef> m_cache;
};

} // namespace kestrane::report
