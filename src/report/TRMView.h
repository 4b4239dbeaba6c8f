#pragma once
// Base of every object placed on a design page: memos, pictures, bands, lines, add-ins.
// Stored properties are public members named as the designer names them; derived
// properties (FrameTyp, FrameWidth, Stretched, ...) are accessor pairs. Everything is also
// reachable by name through TRMObject.
#include "data/Dataset.h"
#include "report/TRMObject.h"

#include <QPointer>

#include <QStringList>
#include <cstdint>

namespace kestrane::report {

// "No colour" (transparent fill).
constexpr qint32 clNone = 0x1FFFFFFF;
constexpr qint32 clBlack = 0x000000;
constexpr qint32 clWhite = 0xFFFFFF;

// View kinds as stored with each view.
enum TRMViewKind : int {
    gtMemo = 0,
    gtPicture = 1,
    gtBand = 2,
    gtSubReport = 3,
    gtLine = 4,
    gtCalcMemo = 5,
    gtMoney = 7,
    gtRegion = 8,
    gtAddIn = 10,
};

enum TRMPenStyle : int { psSolid, psDash, psDot, psDashDot, psDashDotDot, psDouble };

enum TRMBandAlign : int {
    baNone,
    baLeft,
    baRight,
    baCenter,
    baWidth,
    baBottom,
    baClient,
    baHeight,
    baRest
};

// Bits of Flags common to all views.
enum TRMViewFlag : quint16 {
    flStretched = 0x0001,
    flPrintFrame = 0x0400,
    flPrintVisible = 0x0800,
};

struct TRMFrameLine {
    bool Visible = false;
    int Style = psSolid;
    qint32 Color = clBlack;
    double Width = 1.0;
    friend bool operator==(const TRMFrameLine&, const TRMFrameLine&) = default;
};

class TRMView : public TRMObject {
    Q_OBJECT
public:
    explicit TRMView(QObject* parent = nullptr);

    // The stored kind (0..10) and, for add-ins, the class name written with it.
    virtual int viewKind() const = 0;
    virtual QString rmClassName() const = 0;

    // --- stored properties ---------------------------------------------------------------
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    quint16 Flags = 0;
    qint32 Flags2 = 0; // second flag word (memos)
    TRMFrameLine LeftFrame;
    TRMFrameLine TopFrame;
    TRMFrameLine RightFrame;
    TRMFrameLine BottomFrame;
    quint16 BandKindWord = 0; // the band kind for bands; carried unchanged for other views
    int GapX = 2;
    int GapY = 2;
    qint32 FillColor = clNone;
    int BandAlign = baNone;
    quint32 FormatWord = 0;
    QString FormatString;
    QStringList Memo;
    QStringList OnBeforePrint;
    QStringList OnAfterPrint;
    bool Visible = true;
    int Restrictions = 0;
    QString Tag;
    quint16 KeptWord = 0; // the word before Tag, carried unchanged

    // Index of the design page that holds the view (written with each view record).
    int PageIndex = 0;

    // --- derived properties ---------------------------------------------------------------
    // Frame bits: 8 top, 4 left, 2 bottom, 1 right. Writing sets the four Visibles.
    int FrameTyp() const;
    void setFrameTyp(int bits);
    double FrameWidth() const { return LeftFrame.Width; }
    void setFrameWidth(double w);
    qint32 FrameColor() const { return LeftFrame.Color; }
    void setFrameColor(qint32 c);
    int FrameStyle() const { return LeftFrame.Style; }
    void setFrameStyle(int s);
    bool Stretched() const { return Flags & flStretched; }
    void setStretched(bool on) { setFlag(flStretched, on); }
    bool PrintFrame() const { return Flags & flPrintFrame; }
    void setPrintFrame(bool on) { setFlag(flPrintFrame, on); }
    bool PrintVisible() const { return Flags & flPrintVisible; }
    void setPrintVisible(bool on) { setFlag(flPrintVisible, on); }
    // The first memo line.
    QString DataField() const { return Memo.isEmpty() ? QString() : Memo.first(); }
    void setDataField(const QString& text);

    // The field a memo of one bracketed field reference is bound to (set by the binding at
    // the start of preparation): it supplies the value, the display format and BLOB content.
    QPointer<kestrane::Dataset> BoundDataset;
    int BoundField = -1;
    bool isBound() const { return BoundDataset && BoundField >= 0; }

    // Expanded text and printing state, set while preparing.
    QStringList Memo1;
    bool IsPrinting = false;

    void setFlag(quint16 mask, bool on) {
        Flags = on ? quint16(Flags | mask) : quint16(Flags & ~mask);
    }

    // Makes this view an equal copy of another of the same class (properties, not parent).
    void assignFrom(const TRMView& other);

protected:
    void describe(QList<Property>& out, QStringList& derived) const override;
};

} // namespace kestrane::report
