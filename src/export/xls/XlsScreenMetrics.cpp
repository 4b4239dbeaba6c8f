#include "export/xls/XlsScreenMetrics.h"

#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>

#include <climits>
#include <cstdlib>

namespace kestrane::xls {

namespace {
constexpr int kClassicXWidth = 7;
constexpr int kClassicDpi = 96;
} // namespace

int XlsScreenMetrics::arialXWidth() {
    static const int width = [] {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return kClassicXWidth;
        QFont font(QStringLiteral("Arial"));
        font.setPointSize(10);
        const int w = QFontMetrics(font).horizontalAdvance(QLatin1Char('x'));
        return w > 0 ? w : kClassicXWidth;
    }();
    return width;
}

int XlsScreenMetrics::pixelsPerInchX() {
    static const int dpi = [] {
        if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            return kClassicDpi;
        const QScreen* screen = QGuiApplication::primaryScreen();
        const int d = screen ? qRound(screen->logicalDotsPerInchX()) : 0;
        return d > 0 ? d : kClassicDpi;
    }();
    return dpi;
}

int XlsScreenMetrics::mulDiv(int a, int b, int c) {
    if (c == 0)
        return -1;
    const long long num = static_cast<long long>(a) * b;
    long long q = (std::llabs(num) + std::llabs(static_cast<long long>(c)) / 2) /
                  std::llabs(static_cast<long long>(c));
    if ((num < 0) != (c < 0))
        q = -q;
    if (q > INT_MAX)
        return INT_MAX;
    if (q < INT_MIN)
        return INT_MIN;
    return static_cast<int>(q);
}

} // namespace kestrane::xls
