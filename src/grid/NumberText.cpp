#include "grid/NumberText.h"

#include <QLocale>
#include <cmath>

namespace kestrane::grid {

QString formatGridNumber(double value, const QString& displayFormat) {
    if (displayFormat.isEmpty())
        return QString::number(value, 'g', 15);
    const qsizetype point = displayFormat.indexOf(u'.');
    int decimals = 0;
    if (point >= 0)
        for (qsizetype i = point + 1;
             i < displayFormat.size() && (displayFormat[i] == u'0' || displayFormat[i] == u'#');
             ++i)
            ++decimals;
    const bool grouping =
        displayFormat.left(point < 0 ? displayFormat.size() : point).contains(u',');
    // Round half away from zero on the decimal form, as the desktop runtime does.
    const double scale = std::pow(10.0, decimals);
    const double rounded = std::round(value * scale) / scale;
    QString text = QString::number(rounded == 0 ? 0.0 : rounded, 'f', decimals);
    if (grouping) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::DefaultNumberOptions);
        text = c.toString(rounded == 0 ? 0.0 : rounded, 'f', decimals);
    }
    return text;
}

} // namespace kestrane::grid
