#include "report/TRMDataDictionary.h"

#include "data/Dataset.h"

namespace kestrane::report {

bool TRMDataDictionary::variable(const QString& name, QString& value) const {
    for (const auto& nv : Variables) {
        if (nv.first.startsWith(u' '))
            continue; // category heading
        if (nv.first.compare(name, Qt::CaseInsensitive) == 0) {
            value = nv.second;
            return true;
        }
    }
    return false;
}

void TRMDataDictionary::clear() {
    Variables.clear();
    DatasetAliases.clear();
    FieldAliases.clear();
    m_cache.clear();
}

bool TRMDataDictionary::cached(const QString& reference, FieldRef& ref) const {
    auto it = m_cache.constFind(reference);
    if (it == m_cache.constEnd() || it->dataset.isNull())
        return false;
    ref = *it;
    return true;
}

const TRMDataDictionary::FieldRef* TRMDataDictionary::cachedRef(const QString& reference) const {
    auto it = m_cache.constFind(reference);
    if (it == m_cache.constEnd() || it->dataset.isNull())
        return nullptr;
    return &*it;
}

void TRMDataDictionary::cache(const QString& reference, const FieldRef& ref) {
    m_cache.insert(reference, ref);
}

} // namespace kestrane::report
