#pragma once
// One cell, or one merged area of cells, with its value and look.
//
// A range is kept small, because a sheet may hold millions: its text lives in the sheet's text
// store, its look is one of the sheet's distinct looks, and the rare values that are neither
// text nor a double (and formulas) are kept beside the ranges by the sheet.
#include "export/xls/TqelXLSStyle.h"

#include <QString>
#include <QStringView>
#include <QVariant>

namespace kestrane::xls {

class TqelXLSWorksheet;

struct TqelXLSRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

class TqelXLSRange {
public:
    enum class Kind { Text, Number, Formula };

    TqelXLSRange(TqelXLSWorksheet* sheet, const TqelXLSRect& rect, const TqelXLSStyle* style)
        : m_rect(rect), m_sheet(sheet), m_style(style) {}
    TqelXLSRange(const TqelXLSRange&) = delete;
    TqelXLSRange& operator=(const TqelXLSRange&) = delete;

    const TqelXLSRect& Rect() const { return m_rect; }
    bool IsMerged() const { return m_rect.left != m_rect.right || m_rect.top != m_rect.bottom; }

    // The value as it was given (a text with its CR LF pairs already turned into LF).
    QVariant Value() const;
    // A text value has every CR LF pair turned into a single LF (a cell line break); other
    // values are kept as they are.
    void SetValue(const QVariant& value);
    // The same as SetValue with a text, without wrapping the text in a variant.
    void SetText(QStringView text);
    // The stored text when the value is a text; an empty view otherwise.
    QStringView Text() const {
        return m_payload == Payload::Text ? QStringView(m_text, m_length) : QStringView();
    }
    bool HoldsText() const { return m_payload == Payload::Text; }
    // The value as a number (0 when it is none).
    double NumberValue() const;
    // The value converted to text, as a cell shows it.
    QString ValueText() const;
    Kind CellKind() const;

    const TqelXLSStyle& Style() const { return *m_style; }
    // Gives the range a new look; equal looks are kept once by the workbook.
    void SetStyle(const TqelXLSStyle& style);

    // Empty: no formula.
    QString Formula() const;
    void SetFormula(const QString& formula);

private:
    enum class Payload : quint8 { Empty, Text, Double, Other };

    TqelXLSRect m_rect;
    TqelXLSWorksheet* m_sheet;
    const TqelXLSStyle* m_style;
    union {
        const char16_t* m_text;
        double m_number;
        size_t m_other; // index into the sheet's other values
    };
    quint32 m_length = 0;
    Payload m_payload = Payload::Empty;
    bool m_hasFormula = false;
};

} // namespace kestrane::xls
