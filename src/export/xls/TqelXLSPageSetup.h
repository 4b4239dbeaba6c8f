#pragma once
// Print settings of one sheet, with the defaults a new sheet starts from.
#include <QString>

namespace kestrane::xls {

struct TqelXLSPageSetup {
    int paperSize = 9; // A4
    bool landscape = false;
    int scalePercent = 100;
    int fitWidth = 1;
    int fitHeight = 1;
    int firstPageNumber = 1;
    int copies = 0;
    // Margins in inches.
    double leftMargin = 2.0;
    double rightMargin = 2.0;
    double topMargin = 2.5;
    double bottomMargin = 2.5;
    double headerMargin = 0;
    double footerMargin = 0;
    bool blackAndWhite = false;
    bool draft = false;
    bool printNotes = false;
    bool printGridLines = false;
    bool printHeaders = false;
    bool centerHorizontally = false;
    bool centerVertically = false;
    bool leftToRight = false;
    QString headerLeft, headerCenter, headerRight;
    QString footerLeft, footerCenter, footerRight;
};

} // namespace kestrane::xls
