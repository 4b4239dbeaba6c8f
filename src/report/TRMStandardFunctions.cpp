#include "report/TRMStandardFunctions.h"

#include "common/Error.h"
#include "report/DisplayFormat.h"
#include "report/TRMEvaluator.h"
#include "report/TRMParser.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ModalRunner.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <cmath>

namespace kestrane::report {

namespace {

const char16_t* const kCapitalDigits[10] = {u"零", u"壹", u"贰", u"叁", u"肆",
                                            u"伍", u"陆", u"柒", u"捌", u"玖"};
const char16_t* const kLowerDigits[10] = {u"零", u"一", u"二", u"三", u"四",
                                          u"五", u"六", u"七", u"八", u"九"};

// Whole number in Chinese numerals with the units of a four-digit group and the group
// units 万, 亿; zeros inside collapse into one 零.
QString integerToChinese(qulonglong n, const char16_t* const digits[10],
                         const char16_t* const units[4]) {
    if (n == 0)
        return QString::fromUtf16(digits[0]);
    static const char16_t* const groups[] = {u"", u"万", u"亿", u"万亿"};
    QString out;
    int groupIndex = 0;
    bool pendingZero = false;
    QStringList parts;
    while (n > 0 && groupIndex < 4) {
        const int group = int(n % 10000);
        n /= 10000;
        QString g;
        bool zero = false;
        bool any = false;
        for (int pos = 3; pos >= 0; --pos) {
            int d = group;
            for (int k = 0; k < pos; ++k)
                d /= 10;
            d %= 10;
            if (d == 0) {
                if (any)
                    zero = true;
            } else {
                if (zero)
                    g += QString::fromUtf16(digits[0]);
                zero = false;
                any = true;
                g += QString::fromUtf16(digits[d]) + QString::fromUtf16(units[pos]);
            }
        }
        if (group != 0)
            g += QString::fromUtf16(groups[groupIndex]);
        // A group below 1000 following a higher group needs a 零 in front.
        parts.prepend(g);
        parts.prepend(group != 0 && group < 1000 ? QStringLiteral("\x01") : QString());
        ++groupIndex;
    }
    (void)pendingZero;
    for (int i = 0; i < parts.size(); i += 2) {
        const bool needsZero = parts[i] == QStringLiteral("\x01");
        const QString& g = parts[i + 1];
        if (g.isEmpty()) {
            if (!out.isEmpty() && !out.endsWith(QString::fromUtf16(digits[0])))
                out += QString::fromUtf16(digits[0]);
            continue;
        }
        if (needsZero && !out.isEmpty() && !out.endsWith(QString::fromUtf16(digits[0])))
            out += QString::fromUtf16(digits[0]);
        out += g;
    }
    while (out.endsWith(QString::fromUtf16(digits[0])) && out.size() > 1)
        out.chop(1);
    return out;
}

QString englishMonth(int m, bool longName) {
    static const char* const names[12] = {"January",   "February", "March",    "April",
                                          "May",       "June",     "July",     "August",
                                          "September", "October",  "November", "December"};
    if (m < 1 || m > 12)
        return QString();
    const QString n = QString::fromLatin1(names[m - 1]);
    return longName ? n : n.left(3);
}

QString nameCase(const QString& s) {
    QString out = s.toLower();
    bool start = true;
    for (QChar& c : out) {
        if (start && c.isLetter())
            c = c.toUpper();
        start = !c.isLetterOrNumber();
    }
    return out;
}

QString text(TRMFunctionArgs& a, int i) {
    return DisplayFormat::plainText(a.value(i));
}

double num(TRMFunctionArgs& a, int i) {
    return TRMParser::number(a.value(i));
}

qlonglong integer(double d) {
    if (!(std::fabs(d) < 9.2e18))
        throw Error(QStringLiteral("Integer overflow"));
    return qlonglong(d);
}

QVariant intResult(qlonglong n) {
    return n >= INT_MIN && n <= INT_MAX ? QVariant(int(n)) : QVariant(n);
}

// Rounds half away from zero at `digits` decimals, on the value's 15-digit decimal form.
double roundTo(double v, int digits) {
    const QString s = DisplayFormat::formatFixed(v, std::clamp(digits, 0, 15), false);
    return s.toDouble();
}

QDateTime dateArg(TRMFunctionArgs& a, int i) {
    QDateTime dt;
    const QVariant v = a.value(i);
    if (!DisplayFormat::toDateTime(v, dt))
        throw Error(QStringLiteral("\"%1\" is not a valid date").arg(v.toString()));
    return dt;
}

} // namespace

TRMStandardFunctions& TRMStandardFunctions::instance() {
    static TRMStandardFunctions lib;
    return lib;
}

QStringList TRMStandardFunctions::functionNames() const {
    return {QStringLiteral("AVG"),
            QStringLiteral("COUNT"),
            QStringLiteral("MAX"),
            QStringLiteral("MIN"),
            QStringLiteral("SUM"),
            QStringLiteral("STRTOFLOAT"),
            QStringLiteral("PARAMSTR"),
            QStringLiteral("EXTRACTFILEPATH"),
            QStringLiteral("StringOfChar"),
            QStringLiteral("MonthToEnglishShort"),
            QStringLiteral("MonthToEnglishLong"),
            QStringLiteral("SinglNumToBig"),
            QStringLiteral("SmallToBig"),
            QStringLiteral("CurrToBigNum"),
            QStringLiteral("RMRound"),
            QStringLiteral("STRTOINT"),
            QStringLiteral("ABS"),
            QStringLiteral("GETCONTROLPROPVALUE"),
            QStringLiteral("Copy"),
            QStringLiteral("FormatDateTime"),
            QStringLiteral("FormatFloat"),
            QStringLiteral("FormatText"),
            QStringLiteral("Length"),
            QStringLiteral("LowerCase"),
            QStringLiteral("NameCase"),
            QStringLiteral("Pos"),
            QStringLiteral("Str"),
            QStringLiteral("Trim"),
            QStringLiteral("UpperCase"),
            QStringLiteral("CNumber"),
            QStringLiteral("Dec"),
            QStringLiteral("Div"),
            QStringLiteral("Frac"),
            QStringLiteral("Inc"),
            QStringLiteral("Int"),
            QStringLiteral("MaxNum"),
            QStringLiteral("MinNum"),
            QStringLiteral("Mod"),
            QStringLiteral("Round"),
            QStringLiteral("Date"),
            QStringLiteral("Day"),
            QStringLiteral("Month"),
            QStringLiteral("StrtoDate"),
            QStringLiteral("StrtoTime"),
            QStringLiteral("Time"),
            QStringLiteral("Year"),
            QStringLiteral("IF"),
            QStringLiteral("TRUE"),
            QStringLiteral("FALSE"),
            QStringLiteral("AND"),
            QStringLiteral("NOT"),
            QStringLiteral("OR"),
            QStringLiteral("COLUMN#"),
            QStringLiteral("Input"),
            QStringLiteral("LINE#"),
            QStringLiteral("LINETHROUGH#"),
            QStringLiteral("MessageBox"),
            QStringLiteral("PAGE#"),
            QStringLiteral("TOTALPAGES"),
            QStringLiteral("Cury"),
            QStringLiteral("FinalPass"),
            QStringLiteral("FreeSpace"),
            QStringLiteral("ModalResult"),
            QStringLiteral("mrCancel"),
            QStringLiteral("mrOK"),
            QStringLiteral("NewColumn"),
            QStringLiteral("NewPage"),
            QStringLiteral("PageHeight"),
            QStringLiteral("PageWidth"),
            QStringLiteral("Progress"),
            QStringLiteral("ShowBand"),
            QStringLiteral("StopReport")};
}

QString TRMStandardFunctions::digitsToCapitals(const QString& digits) {
    QString out;
    for (QChar c : digits)
        out += c.isDigit() ? QString::fromUtf16(kCapitalDigits[c.digitValue()]) : QString(c);
    return out;
}

QString TRMStandardFunctions::numberToChinese(double value) {
    static const char16_t* const units[4] = {u"", u"十", u"百", u"千"};
    if (!std::isfinite(value) || std::fabs(value) >= 1e16)
        return DisplayFormat::formatGeneral(value);
    const QString fixed =
        DisplayFormat::formatFloat(QStringLiteral("0.##########"), std::fabs(value));
    const qsizetype dot = fixed.indexOf(u'.');
    const qulonglong whole = (dot < 0 ? fixed : fixed.left(dot)).toULongLong();
    QString out = value < 0 ? QStringLiteral("负") : QString();
    QString w = integerToChinese(whole, kLowerDigits, units);
    // 10..19 read "十", "十一" rather than "一十".
    if (whole >= 10 && whole < 20)
        w.remove(0, 1);
    out += w;
    if (dot >= 0) {
        out += QStringLiteral("点");
        for (QChar c : fixed.mid(dot + 1))
            out += QString::fromUtf16(kLowerDigits[c.digitValue()]);
    }
    return out;
}

QString TRMStandardFunctions::currencyToChinese(double amount) {
    static const char16_t* const units[4] = {u"", u"拾", u"佰", u"仟"};
    if (!std::isfinite(amount) || std::fabs(amount) >= 1e15)
        return DisplayFormat::formatGeneral(amount);
    const QString fixed = DisplayFormat::formatFixed(std::fabs(amount), 2, false);
    const qsizetype dot = fixed.indexOf(u'.');
    const qulonglong whole = fixed.left(dot).toULongLong();
    const int jiao = fixed[dot + 1].digitValue();
    const int fen = fixed[dot + 2].digitValue();
    QString out = amount < 0 && (whole || jiao || fen) ? QStringLiteral("负") : QString();
    if (whole > 0)
        out += integerToChinese(whole, kCapitalDigits, units) + QStringLiteral("元");
    if (jiao == 0 && fen == 0)
        return out + (whole > 0 ? QStringLiteral("整") : QStringLiteral("零元整"));
    if (jiao > 0)
        out += QString::fromUtf16(kCapitalDigits[jiao]) + QStringLiteral("角");
    else if (whole > 0)
        out += QStringLiteral("零");
    if (fen > 0)
        out += QString::fromUtf16(kCapitalDigits[fen]) + QStringLiteral("分");
    else
        out += QStringLiteral("整");
    return out;
}

bool TRMStandardFunctions::call(TRMEvaluator& ev, const QString& name, TRMFunctionArgs& a,
                                QVariant& r) {
    const QString n = name.toUpper();
    if (n == u"AVG" || n == u"COUNT" || n == u"MAX" || n == u"MIN" || n == u"SUM") {
        if (!ev.aggregate || !ev.aggregate(n, a, r))
            r = QVariant();
        return true;
    }
    if (n == u"NEWPAGE" || n == u"NEWCOLUMN" || n == u"SHOWBAND" || n == u"STOPREPORT" ||
        n == u"PROGRESS") {
        if (!ev.preparationControl || !ev.preparationControl(n, a, r))
            r = QVariant();
        return true;
    }
    if (n == u"STRTOFLOAT") {
        double d = 0;
        if (!DisplayFormat::toDouble(QVariant(text(a, 0)), d))
            throw Error(QStringLiteral("\"%1\" is not a valid number").arg(text(a, 0)));
        r = d;
    } else if (n == u"STRTOINT") {
        bool ok = false;
        const qlonglong v = text(a, 0).trimmed().toLongLong(&ok);
        if (!ok)
            throw Error(QStringLiteral("\"%1\" is not a valid integer").arg(text(a, 0)));
        r = intResult(v);
    } else if (n == u"PARAMSTR") {
        const QStringList args = QCoreApplication::arguments();
        const qlonglong i = integer(num(a, 0));
        r = i >= 0 && i < args.size() ? args[i] : QString();
    } else if (n == u"EXTRACTFILEPATH") {
        const QString s = text(a, 0);
        const qsizetype cut = std::max(s.lastIndexOf(u'/'), s.lastIndexOf(u'\\'));
        r = cut < 0 ? QString() : s.left(cut + 1);
    } else if (n == u"STRINGOFCHAR") {
        const QString c = text(a, 0);
        const qlonglong count = integer(num(a, 1));
        r = c.isEmpty() || count <= 0 ? QString()
                                      : QString(int(std::min<qlonglong>(count, 65536)), c[0]);
    } else if (n == u"MONTHTOENGLISHSHORT" || n == u"MONTHTOENGLISHLONG") {
        r = englishMonth(int(integer(num(a, 0))), n == u"MONTHTOENGLISHLONG");
    } else if (n == u"SINGLNUMTOBIG") {
        const qlonglong d = integer(num(a, 0));
        r = d >= 0 && d <= 9 ? QString::fromUtf16(kCapitalDigits[d]) : QString();
    } else if (n == u"SMALLTOBIG") {
        r = digitsToCapitals(text(a, 0));
    } else if (n == u"CURRTOBIGNUM") {
        r = currencyToChinese(num(a, 0));
    } else if (n == u"RMROUND" || n == u"ROUND") {
        const double v = num(a, 0);
        const int digits = a.count() > 1 ? int(integer(num(a, 1))) : 0;
        r = digits <= 0 && n == u"ROUND" ? intResult(integer(roundTo(v, 0)))
                                         : QVariant(roundTo(v, digits));
    } else if (n == u"ABS") {
        const QVariant v = a.value(0);
        r = TRMParser::isNumeric(v) && v.typeId() != QMetaType::Double
                ? intResult(std::llabs(v.toLongLong()))
                : QVariant(std::fabs(num(a, 0)));
    } else if (n == u"GETCONTROLPROPVALUE") {
        QVariant v;
        const QString ref = text(a, 0) + u'.' + text(a, 1);
        r = ev.properties && ev.properties(ref, v) ? v : QVariant();
    } else if (n == u"COPY") {
        const QString s = text(a, 0);
        const qlonglong from = integer(num(a, 1)), count = integer(num(a, 2));
        r = from < 1 || count <= 0 || from > s.size() ? QString() : s.mid(from - 1, count);
    } else if (n == u"FORMATDATETIME") {
        r = DisplayFormat::formatDateTime(text(a, 0), dateArg(a, 1));
    } else if (n == u"FORMATFLOAT") {
        r = DisplayFormat::formatFloat(text(a, 0), num(a, 1));
    } else if (n == u"FORMATTEXT") {
        // A mask of "0", "9", "#", "A", "a", "L", "l", "C", "c" takes one character of the text
        // each; other mask characters print as they stand.
        const QString mask = text(a, 0), s = text(a, 1);
        QString out;
        qsizetype j = 0;
        for (QChar m : mask) {
            if (QStringLiteral("09#AaLlCc").contains(m)) {
                if (j < s.size())
                    out += s[j++];
            } else {
                out += m;
            }
        }
        r = out;
    } else if (n == u"LENGTH") {
        r = int(text(a, 0).size());
    } else if (n == u"LOWERCASE") {
        r = text(a, 0).toLower();
    } else if (n == u"UPPERCASE") {
        r = text(a, 0).toUpper();
    } else if (n == u"NAMECASE") {
        r = nameCase(text(a, 0));
    } else if (n == u"POS") {
        r = int(text(a, 1).indexOf(text(a, 0)) + 1);
    } else if (n == u"STR") {
        r = text(a, 0);
    } else if (n == u"TRIM") {
        r = text(a, 0).trimmed();
    } else if (n == u"CNUMBER") {
        r = numberToChinese(num(a, 0));
    } else if (n == u"DEC" || n == u"INC") {
        const double step = a.count() > 1 ? num(a, 1) : 1.0;
        r = TRMParser::add(a.value(0), n == u"DEC" ? -step : step);
    } else if (n == u"DIV") {
        const qlonglong y = integer(num(a, 1));
        if (y == 0)
            throw Error(QStringLiteral("Division by zero"));
        r = intResult(integer(num(a, 0)) / y);
    } else if (n == u"MOD") {
        const qlonglong y = integer(num(a, 1));
        if (y == 0)
            throw Error(QStringLiteral("Division by zero"));
        r = intResult(integer(num(a, 0)) % y);
    } else if (n == u"FRAC") {
        const double v = num(a, 0);
        r = v - std::trunc(v);
    } else if (n == u"INT") {
        r = intResult(integer(std::trunc(num(a, 0))));
    } else if (n == u"MAXNUM" || n == u"MINNUM") {
        const int c = TRMParser::compare(a.value(0), a.value(1));
        r = (n == u"MAXNUM") == (c >= 0) ? a.value(0) : a.value(1);
    } else if (n == u"DATE") {
        r = ev.state.started.date();
    } else if (n == u"TIME") {
        r = ev.state.started.time();
    } else if (n == u"DAY") {
        r = dateArg(a, 0).date().day();
    } else if (n == u"MONTH") {
        r = dateArg(a, 0).date().month();
    } else if (n == u"YEAR") {
        r = dateArg(a, 0).date().year();
    } else if (n == u"STRTODATE") {
        QDateTime dt;
        if (!DisplayFormat::toDateTime(QVariant(text(a, 0)), dt))
            throw Error(QStringLiteral("\"%1\" is not a valid date").arg(text(a, 0)));
        r = dt.date();
    } else if (n == u"STRTOTIME") {
        QDateTime dt;
        if (!DisplayFormat::toDateTime(QVariant(text(a, 0)), dt))
            throw Error(QStringLiteral("\"%1\" is not a valid time").arg(text(a, 0)));
        r = dt.time();
    } else if (n == u"IF") {
        r = TRMParser::truth(a.value(0)) ? a.value(1) : a.value(2);
    } else if (n == u"TRUE") {
        r = true;
    } else if (n == u"FALSE") {
        r = false;
    } else if (n == u"AND") {
        r = TRMParser::truth(a.value(0)) && TRMParser::truth(a.value(1));
    } else if (n == u"OR") {
        r = TRMParser::truth(a.value(0)) || TRMParser::truth(a.value(1));
    } else if (n == u"NOT") {
        r = !TRMParser::truth(a.value(0));
    } else if (n == u"COLUMN#") {
        r = ev.state.column;
    } else if (n == u"LINE#") {
        r = ev.state.line;
    } else if (n == u"LINETHROUGH#") {
        r = ev.state.lineThrough;
    } else if (n == u"PAGE#") {
        r = ev.state.page;
    } else if (n == u"TOTALPAGES") {
        r = ev.state.totalPages;
    } else if (n == u"CURY") {
        r = ev.state.curY;
    } else if (n == u"FINALPASS") {
        r = ev.state.finalPass;
    } else if (n == u"FREESPACE") {
        r = ev.state.pageBottom - ev.state.curY;
    } else if (n == u"PAGEHEIGHT") {
        r = ev.state.pageBottom;
    } else if (n == u"PAGEWIDTH") {
        r = ev.state.pageWidth;
    } else if (n == u"MODALRESULT") {
        r = ev.state.modalResult;
    } else if (n == u"MROK") {
        r = 1;
    } else if (n == u"MRCANCEL") {
        r = 2;
    } else if (n == u"MESSAGEBOX") {
        const int flags = a.count() > 2 ? int(integer(num(a, 2))) : ui::MbOk;
        r = ui::MessageBox(nullptr, text(a, 0), text(a, 1), flags);
    } else if (n == u"INPUT") {
        QInputDialog dialog;
        dialog.setObjectName(QStringLiteral("RMInputDialog"));
        dialog.setLabelText(text(a, 0));
        dialog.setTextValue(text(a, 1));
        r = ui::execDialog(dialog) == QDialog::Accepted ? dialog.textValue() : text(a, 1);
    } else {
        return false;
    }
    return true;
}

} // namespace kestrane::report
