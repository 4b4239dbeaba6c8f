#pragma once
// The eight pictures of the query screen's tool bar, drawn in code so the screen needs no
// image files: 0 query, 1 choose, 2 condition, 3 filter, 4 preview, 5 print, 6 help, 7 exit.
#include <QIcon>

namespace kestrane::query {

QIcon toolBarImage(int index);

} // namespace kestrane::query
