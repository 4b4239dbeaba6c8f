#pragma once
// Screen facts the workbook model converts pixel sizes with: the width of "x" in 10-point
// Arial and the horizontal pixels per inch. Read once from the running GUI application; a
// program without one (a batch tool, a benchmark) gets the classic 96-dpi values.
#include <QtGlobal>

namespace kestrane::xls {

class XlsScreenMetrics {
public:
    static int arialXWidth();
    static int pixelsPerInchX();
    // a * b / c rounded to the nearest integer (halves away from zero); -1 when c is 0,
    // like the Windows routine the conversions were defined with.
    static int mulDiv(int a, int b, int c);
};

} // namespace kestrane::xls
