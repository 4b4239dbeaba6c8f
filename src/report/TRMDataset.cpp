#include "report/TRMDataset.h"

namespace kestrane::report {

void TRMDataset::First() {
    m_recordNo = 0;
    if (OnFirst)
        OnFirst();
    for (TRMDataset* s : slaves())
        s->First();
}

void TRMDataset::Next() {
    ++m_recordNo;
    if (OnNext)
        OnNext();
    for (TRMDataset* s : slaves())
        s->First();
}

void TRMDataset::Prior() {
    if (m_recordNo > 0)
        --m_recordNo;
    if (OnPrior)
        OnPrior();
    for (TRMDataset* s : slaves())
        s->First();
}

bool TRMDataset::countReached() const {
    return RangeEnd == reCountRecords && m_recordNo >= RangeEndCount;
}

bool TRMDataset::Eof() const {
    bool eof = countReached();
    if (OnCheckEOF)
        OnCheckEOF(eof);
    return eof;
}

void TRMDataset::addSlave(TRMDataset* slave) {
    if (slave && slave != this && !slaves().contains(slave))
        m_slaves.append(slave);
}

void TRMDataset::removeSlave(TRMDataset* slave) {
    m_slaves.removeAll(slave);
}

QList<TRMDataset*> TRMDataset::slaves() const {
    QList<TRMDataset*> out;
    for (const auto& s : m_slaves)
        if (s)
            out.append(s.data());
    return out;
}

bool TRMDataset::hasField(const QString&) const {
    return false;
}

QVariant TRMDataset::fieldValue(const QString&) {
    return QVariant();
}

bool TRMDataset::fieldInfo(const QString&, FieldDef&) const {
    return false;
}

} // namespace kestrane::report
