#pragma once
// A band: a horizontal strip of a design page with a kind (title, page header, master data,
// group header, ...). Data bands name their dataset adapter, group headers their condition.
#include "report/TRMDataset.h"
#include "report/TRMView.h"

#include <QList>
#include <QPointer>

namespace kestrane::report {

enum TRMBandKind : int {
    btReportTitle = 0,
    btReportSummary = 1,
    btPageHeader = 2,
    btPageFooter = 3,
    btMasterHeader = 4,
    btMasterData = 5,
    btMasterFooter = 6,
    btDetailHeader = 7,
    btDetailData = 8,
    btDetailFooter = 9,
    btSubDetailHeader = 10,
    btSubDetailData = 11,
    btSubDetailFooter = 12,
    btOverlay = 13,
    btColumnHeader = 14,
    btColumnFooter = 15,
    btGroupHeader = 16,
    btGroupFooter = 17,
    btCrossHeader = 18,
    btCrossData = 19,
    btCrossFooter = 20,
    btChild = 21,
    btNone = 22,
};
constexpr int kBandKindCount = 23;

// Band bits of Flags.
enum TRMBandFlag : quint16 {
    flBandFormNewPage = 0x0002,
    flBandPrintIfSubsetEmpty = 0x0004,
    flBandBreaked = 0x0008,
    flBandOnFirstPage = 0x0010,
    flBandOnLastPage = 0x0020,
    flBandRepeatHeader = 0x0040,
    flBandPrintChildIfInvisible = 0x0080,
    flBandAutoAppendBlank = 0x0100,
    flBandAdjustColumns = 0x0200,
    flBandPrintColFirst = 0x0400,
    flBandRepeatHeader1 = 0x0800,
    flBandPrintIfEmpty = 0x1000,
    flBandPrintAtDesignPos = 0x2000,
};

enum TRMBandRangeBegin : int { rbFirst, rbCurrent, rbDefault };
enum TRMBandRangeEnd : int { reLast, reCurrent, reCount, reDefault };

class TRMBandView : public TRMView {
    Q_OBJECT
public:
    explicit TRMBandView(QObject* parent = nullptr);
    int viewKind() const override { return gtBand; }
    QString rmClassName() const override { return QStringLiteral("TRMBandView"); }

    // The kind lives in the common part's 16-bit word.
    int BandType() const { return BandKindWord; }
    void setBandType(int kind) { BandKindWord = quint16(kind); }
    // Data bands: the adapter's name; group headers: the condition. One stored text.
    QString DataSet() const { return FormatString; }
    void setDataSet(const QString& name) { FormatString = name; }
    QString Condition() const { return FormatString; }
    void setCondition(const QString& text) { FormatString = text; }
    QString NewPageCondition() const { return Tag; }
    void setNewPageCondition(const QString& text) { Tag = text; }

    QString ChildBand;
    QString Master;
    int Columns() const { return m_columns; }
    void setColumns(int n); // at most 99, at least 1
    int ColumnWidth = 200;
    int ColumnGap = 20;
    int NewColumnAfter = 1;
    int LinesPerPage = 0; // also GroupsPerPage
    int RangeBegin = rbDefault;
    int RangeEnd = reDefault;
    qint32 RangeEndCount = 0;

    bool bandFlag(quint16 mask) const { return Flags & mask; }

    // Set by the binding at the start of preparation: the data band's adapter, the header
    // and footer linked to a data band, the data band a group header or footer belongs to,
    // the group headers attached to a data band (outermost first), a group's footer.
    QPointer<TRMDataset> Adapter;
    QPointer<TRMBandView> HeaderBand;
    QPointer<TRMBandView> FooterBand;
    QPointer<TRMBandView> DataBand;
    QList<QPointer<TRMBandView>> Groups;

    // Name text of a band kind ("标题", "主项数据", ...); empty beyond 0..22.
    static QString bandKindName(int kind);
    static bool isDataKind(int kind) {
        return kind == btMasterData || kind == btDetailData || kind == btSubDetailData;
    }

protected:
    void describe(QList<Property>& out, QStringList& derived) const override;

private:
    int m_columns = 1;
};

} // namespace kestrane::report
