#pragma once
// What a running preparation tells the expressions: the values behind the built-in names
// ("Page#", "Line#", "CurY", ...). Preparation fills it; outside a preparation it holds the
// defaults (page 1, final pass).
#include <QDateTime>
#include <QVariant>

namespace kestrane::report {

struct TRMPrepareState {
    int page = 1;
    int totalPages = 0; // 0 unless a counting pass has set it
    int line = 1;
    int lineThrough = 1;
    int column = 1;
    int current = 1;
    QDateTime started = QDateTime::currentDateTime(); // fixed when a preparation starts
    double curY = 0;
    double pageBottom = 0; // "PageHeight": the current bottom limit
    double pageWidth = 0;  // the printable right edge
    bool finalPass = true;
    double calcWidth = 0; // the current view's needed text width
    QVariant value;       // "VALUE": the value last computed for the current view
    int modalResult = 0;
};

} // namespace kestrane::report
