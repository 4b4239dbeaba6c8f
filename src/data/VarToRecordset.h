#pragma once
// Taking the recordset out of the QVariant that the host's QueryData answer leaves in its
// by-reference argument.
#include "data/Recordset.h"

#include <QVariant>
#include <memory>

namespace kestrane {

// The recordset `v` holds. Throws kestrane::Error when `v` holds no recordset (another type,
// nothing, or an empty pointer).
std::shared_ptr<Recordset> VarToRecordset(const QVariant& v);

// The QVariant a host puts into the by-reference argument of QueryData.
QVariant recordsetToVariant(std::shared_ptr<Recordset> recordset);

} // namespace kestrane
