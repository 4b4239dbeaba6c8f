#pragma once
// The grid's text for numbers under a display format such as "####0.00" or "#,##0.00": the
// number of places after the point and thousands grouping are what the grid's formats use.
#include <QString>

namespace kestrane::grid {

QString formatGridNumber(double value, const QString& displayFormat);

} // namespace kestrane::grid
