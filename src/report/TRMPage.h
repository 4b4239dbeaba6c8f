#pragma once
// A design page: paper, margins, columns, background and the views on it in z-order. A
// page owns its views (Qt parent); the list order is the drawing order.
#include "report/TRMObject.h"
#include "report/TRMPicture.h"

#include <QList>
#include <QStringList>

namespace kestrane::report {

class TRMView;
class TRMBandView;

enum TRMPageType : int { ptReport = 0, ptDialog = 1 };
enum TRMOrientation : int { poPortrait = 0, poLandscape = 1 };

// Paper code of A4 and of a custom size.
constexpr int kPaperA4 = 9;
constexpr int kPaperCustom = 256;

class TRMPage : public TRMObject {
    Q_OBJECT
public:
    explicit TRMPage(QObject* parent = nullptr);

    int Type = ptReport;
    QString Caption;
    qint32 Color = 0xFFFFFF;
    int Left = 0, Top = 0, Width = 0, Height = 0; // dialog form
    int Position = 0;                             // nonzero: screen centre
    int BorderStyle = 3;                          // 0 or 3 dialog, 1 or 2 sizeable
    int Size = kPaperA4;                          // paper code
    qint32 PaperWidth = 210000;                   // thousandths of a millimetre
    qint32 PaperHeight = 297000;
    int Orientation = poPortrait;
    qint32 PaperSource = 0;
    qint32 LeftMargin = 15000, TopMargin = 20000, RightMargin = 15000, BottomMargin = 20000;
    qint32 Columns = 1;
    qint32 ColumnGap = 0; // thousandths of a millimetre
    bool PrintToPrevPage = false;
    bool Visible = true;
    bool AutoHCenter = false;
    TRMPicture BackPicture;
    qint32 BackgroundLeft = 0, BackgroundTop = 0, BackgroundWidth = 0, BackgroundHeight = 0;
    bool ShowBackPicture = true;
    QStringList Script;
    // Set after loading when a subreport view refers to this page: not formed on its own.
    bool IsSubReportPage = false;

    // --- views ---------------------------------------------------------------------------
    const QList<TRMView*>& views() const { return m_views; }
    // Appends a view; the page becomes its owner.
    void addView(TRMView* view);
    // Removes and deletes a view.
    void deleteView(TRMView* view);
    void clearViews();
    TRMView* findView(const QString& name) const;
    // The bands of a kind in z-order.
    QList<TRMBandView*> bandsOfKind(int kind) const;
    // A name not used by any view of the page ("Memo1", "Memo2", ...).
    QString uniqueViewName(const QString& base) const;

protected:
    void describe(QList<Property>& out, QStringList& derived) const override;

private:
    QList<TRMView*> m_views;
};

} // namespace kestrane::report
