#pragma once
// A text view: memo lines with bracketed expressions, font, alignment, highlight.
#include "report/TRMView.h"

namespace kestrane::report {

enum TRMMemoFlag : quint16 {
    flWordWrap = 0x0002,
    flWordBreak = 0x0004,
    flAutoWidth = 0x0008,
    flTextOnly = 0x0010,
    flSuppress = 0x0020,
    flHideZeros = 0x0040,
    flUnderlines = 0x0080,
    flRTLReading = 0x0200,
    flMergeRepeated = 0x1000,
};

enum TRMMemoFlag2 : qint32 {
    fl2MangeTag = 0x01,
    fl2ScaleFontSize = 0x04,
    fl2PrintAtAppendBlank = 0x10,
    fl2DataFieldOnly = 0x20,
};

enum TRMRotationType : int { rtNone, rt90, rt180, rt270, rt360 };
enum TRMScaleFontType : int { ByWidth, ByHeight };

// Font style bits as stored: 1 italic, 2 bold, 4 underline, 8 strike-out.
enum TRMFontStyle : int { fsItalic = 1, fsBold = 2, fsUnderline = 4, fsStrikeOut = 8 };

struct TRMFont {
    QString Name = QStringLiteral("Arial");
    int Size = 10; // points
    int Style = 0;
    qint32 Color = clBlack;
    int Charset = 134; // GB2312, the product's character set
    friend bool operator==(const TRMFont&, const TRMFont&) = default;
};

struct TRMHighlight {
    QString Condition;
    int FontStyle = fsBold;
    qint32 FontColor = clBlack;
    qint32 FillColor = clWhite;
    friend bool operator==(const TRMHighlight&, const TRMHighlight&) = default;
};

class TRMMemoView : public TRMView {
    Q_OBJECT
public:
    explicit TRMMemoView(QObject* parent = nullptr);
    int viewKind() const override { return gtMemo; }
    QString rmClassName() const override { return QStringLiteral("TRMMemoView"); }

    TRMFont Font;
    int Alignment = 0; // 0 left, 1 right, 2 centre, 3 justified
    int Layout = 0;    // 0 top, 1 centre, 2 bottom
    int LineSpacing = 2;
    int CharSpacing = 0;
    int RotationType = rtNone;
    int ScaleFontType = ByWidth;
    int FontScaleWidth = 0;
    TRMHighlight Highlight;
    QString MasterMemoView;
    QString LastValue;

    bool memoFlag(quint16 mask) const { return Flags & mask; }
    bool TextOnly() const { return Flags & flTextOnly; }
    bool HideZeros() const { return Flags & flHideZeros; }
    bool WordWrap() const { return Flags & flWordWrap; }
    bool DataFieldOnly() const { return Flags2 & fl2DataFieldOnly; }

    // The stored alignment word: bits 0-1 horizontal, 8 vertical centre, 16 bottom.
    qint32 alignmentWord() const;
    void setAlignmentWord(qint32 word);

protected:
    void describe(QList<Property>& out, QStringList& derived) const override;
};

} // namespace kestrane::report
