#include "report/TRMQueryTemplates.h"

#include "report/DisplayFormat.h"
#include "report/TRMBandView.h"
#include "report/TRMCalcMemoView.h"
#include "report/TRMMemoView.h"
#include "report/TRMPage.h"
#include "report/TRMReport.h"

#include <cmath>

namespace kestrane::report {

namespace {

struct Column {
    const char* field;
    const char16_t* label;
    int size; // text bytes; 0 for amounts, -1 for whole numbers
};

constexpr int kAmount = 0;
constexpr int kInteger = -1;

// The result fields of each view, in grid order.
const Column kBill1[] = {{"f_Hsdwh", u"核算单位号", 20},   {"f_Hsdwmc", u"核算单位名称", 40},
                         {"f_Bmbm", u"部门编码", 12},      {"f_Bmmc", u"部门名称", 50},
                         {"f_gjlx", u"购进类型", 20},      {"f_Rzrq", u"入账日期", 10},
                         {"f_Djh", u"单据号", 10},         {"f_Fptjdh", u"发票提交单号", 20},
                         {"f_Gysbm", u"供应商编码", 12},   {"f_Csmc", u"供应商名称", 50},
                         {"f_Gjje", u"购进金额", kAmount}, {"f_Ygsl", u"已兑数量", kAmount},
                         {"f_Ygws", u"已兑无税", kAmount}, {"f_Ygje", u"已兑金额", kAmount},
                         {"f_Gdrq", u"勾兑日期", 10},      {"f_Gdrbm", u"勾兑人编码", 8},
                         {"f_Gdrmc", u"勾兑人名称", 8}};
const Column kBill2[] = {{"f_Gysbm", u"供应商编码", 12},   {"f_Csmc", u"供应商名称", 50},
                         {"f_Gjje", u"购进金额", kAmount}, {"f_Ygsl", u"已兑数量", kAmount},
                         {"f_Ygws", u"已兑无税", kAmount}, {"f_Ygje", u"已兑金额", kAmount}};
const Column kBill3[] = {{"f_Bmbm", u"部门编码", 12},      {"f_Bmmc", u"部门名称", 50},
                         {"f_Gjje", u"购进金额", kAmount}, {"f_Ygsl", u"已兑数量", kAmount},
                         {"f_Ygws", u"已兑无税", kAmount}, {"f_Ygje", u"已兑金额", kAmount}};
const Column kBill4[] = {{"f_Spbm", u"商品编码", 15},      {"f_Spmc", u"商品名称", 50},
                         {"f_Gjje", u"购进金额", kAmount}, {"f_Ygsl", u"已兑数量", kAmount},
                         {"f_Ygws", u"已兑无税", kAmount}, {"f_Ygje", u"已兑金额", kAmount}};
const Column kBill5[] = {{"f_Gysbm", u"供应商编码", 12},   {"f_Csmc", u"供应商名称", 50},
                         {"f_Gjje", u"购进金额", kAmount}, {"f_Ygsl", u"已兑数量", kAmount},
                         {"f_Ygws", u"已兑无税", kAmount}, {"f_Ygje", u"已兑金额", kAmount},
                         {"f_Fpje", u"发票金额", kAmount}, {"f_Fptjdh", u"提交单号", 12},
                         {"f_Gdrq", u"勾兑日期", 10},      {"f_Gdrbm", u"勾兑人编码", 8},
                         {"f_Gdrmc", u"勾兑人名称", 8},    {"f_Bz", u"备注", 40}};
const Column kBill[] = {{"f_Hsdwh", u"核算单位号", 20},   {"f_Hsdwmc", u"核算单位名称", 40},
                        {"f_Bmbm", u"部门编码", 12},      {"f_Bmmc", u"部门名称", 50},
                        {"f_gjlx", u"购进类型", 20},      {"f_Rzrq", u"入账日期", 10},
                        {"f_Djh", u"单据号", 10},         {"f_Dnxh", u"单内序号", kInteger},
                        {"f_Gysbm", u"供应商编码", 12},   {"f_Csmc", u"供应商名称", 50},
                        {"f_Spbm", u"商品编码", 15},      {"f_Spmc", u"商品名称", 50},
                        {"f_Gjje", u"购进金额", kAmount}, {"f_Ygsl", u"已兑数量", kAmount},
                        {"f_Ygws", u"已兑无税", kAmount}, {"f_Ygje", u"已兑金额", kAmount},
                        {"f_Fptjdh", u"提交单号", 12},    {"f_Gdrq", u"勾兑日期", 10},
                        {"f_Gdrbm", u"勾兑人编码", 8},    {"f_Gdrmc", u"勾兑人名称", 8}};

struct View {
    const char16_t* name;
    const Column* columns;
    int count;
};

const View kViews[] = {
    {u"单据汇总", kBill1, int(std::size(kBill1))},   {u"厂商汇总", kBill2, int(std::size(kBill2))},
    {u"部门汇总", kBill3, int(std::size(kBill3))},   {u"商品汇总", kBill4, int(std::size(kBill4))},
    {u"提交单汇总", kBill5, int(std::size(kBill5))}, {u"明细", kBill, int(std::size(kBill))}};

constexpr int kRowHeight = 20;
constexpr double kPixelsPerMm = 96.0 / 25.4;

// Column widths share the printable width in proportion to what the fields hold; text of
// n bytes wants about n/2 Chinese characters, never less than its title.
QList<int> columnWidths(const View& view, int printable) {
    QList<double> want;
    double total = 0;
    for (int i = 0; i < view.count; ++i) {
        const Column& c = view.columns[i];
        const double titleChars = QString::fromUtf16(c.label).size();
        double chars = c.size == kAmount ? 10 : c.size == kInteger ? 5 : c.size / 2.0;
        chars = std::max({chars, titleChars, 4.0});
        want.append(chars);
        total += chars;
    }
    QList<int> widths;
    int used = 0;
    for (int i = 0; i < want.size(); ++i) {
        const int w =
            i + 1 < want.size() ? int(std::floor(printable * want[i] / total)) : printable - used;
        widths.append(w);
        used += w;
    }
    return widths;
}

TRMBandView* addBand(TRMPage& page, int kind, const QString& name, int top, int height, int width) {
    auto* band = new TRMBandView;
    band->setObjectName(name);
    band->setBandType(kind);
    band->Top = top;
    band->Height = height;
    band->Width = width;
    page.addView(band);
    return band;
}

template <class T = TRMMemoView>
T* addMemo(TRMPage& page, const QString& name, int left, int top, int width, int height,
           const QString& text) {
    auto* memo = new T;
    memo->setObjectName(name);
    memo->Left = left;
    memo->Top = top;
    memo->Width = width;
    memo->Height = height;
    memo->Memo = {text};
    memo->Font.Name = QStringLiteral("宋体");
    memo->Font.Size = 9;
    memo->Layout = 1;
    page.addView(memo);
    return memo;
}

QString fieldReference(const char* field) {
    return QStringLiteral("[cdsPrint.\"") + QString::fromLatin1(field) + QStringLiteral("\"]");
}

void setAmountFormat(TRMMemoView& memo) {
    memo.FormatWord = DisplayFormat::makeWord(fcNumber, kNumberCustomIndex, 2, u'.');
    memo.FormatString = QStringLiteral("####0.00");
    memo.Alignment = 1;
}

const View* findView(const QString& name) {
    for (const View& v : kViews)
        if (name == QString::fromUtf16(v.name))
            return &v;
    return nullptr;
}

} // namespace

QStringList TRMQueryTemplates::viewNames() {
    QStringList names;
    for (const View& v : kViews)
        names.append(QString::fromUtf16(v.name));
    return names;
}

std::unique_ptr<TRMReport> TRMQueryTemplates::buildReport(const QString& viewName) {
    const View* view = findView(viewName);
    if (!view)
        return nullptr;
    auto report = std::make_unique<TRMReport>();
    report->ReportInfo[0] = QStringLiteral("已勾兑验收单明细查询-") + viewName;
    TRMPage* page = report->addPage();
    // Wide views print across the paper.
    page->Orientation = view->count > 8 ? poLandscape : poPortrait;
    if (page->Orientation == poLandscape)
        std::swap(page->PaperWidth, page->PaperHeight);
    page->LeftMargin = page->RightMargin = 10000;
    page->TopMargin = page->BottomMargin = 15000;
    const int left = int(std::lround(page->LeftMargin / 1000.0 * kPixelsPerMm));
    const int printable = int(std::lround(
        (page->PaperWidth - page->LeftMargin - page->RightMargin) / 1000.0 * kPixelsPerMm));
    const QList<int> widths = columnWidths(*view, printable);

    int top = 0;
    // Title: the view's heading, then the condition summary and the query date.
    addBand(*page, btReportTitle, QStringLiteral("ReportTitle1"), top, 64, printable);
    auto* heading = addMemo(*page, QStringLiteral("Title1"), left, top + 4, printable, 30,
                            QStringLiteral("已勾兑验收单明细查询(") + viewName + u')');
    heading->Font.Name = QStringLiteral("黑体");
    heading->Font.Size = 16;
    heading->Font.Style = fsBold;
    heading->Alignment = 2;
    addMemo(*page, QStringLiteral("Condition1"), left, top + 40, printable - 160, kRowHeight,
            QStringLiteral("[cxtj]"));
    addMemo(*page, QStringLiteral("Date1"), left + printable - 160, top + 40, 160, kRowHeight,
            QStringLiteral("查询日期:[cxrq]"))
        ->Alignment = 1;
    top += 64 + 8;

    // Column titles.
    addBand(*page, btPageHeader, QStringLiteral("PageHeader1"), top, kRowHeight + 4, printable);
    int x = left;
    for (int i = 0; i < view->count; ++i) {
        auto* cell = addMemo(*page, QStringLiteral("Header") + QString::number(i + 1), x, top,
                             widths[i], kRowHeight + 4, QString::fromUtf16(view->columns[i].label));
        cell->setFrameTyp(15);
        cell->Alignment = 2;
        cell->Font.Style = fsBold;
        x += widths[i];
    }
    top += kRowHeight + 4 + 8;

    // One row per record.
    addBand(*page, btMasterData, QStringLiteral("MasterData1"), top, kRowHeight, printable)
        ->setDataSet(QStringLiteral("RMDBDataSet1"));
    x = left;
    for (int i = 0; i < view->count; ++i) {
        const Column& c = view->columns[i];
        auto* cell = addMemo(*page, QStringLiteral("Data") + QString::number(i + 1), x, top,
                             widths[i], kRowHeight, fieldReference(c.field));
        cell->setFrameTyp(15);
        if (c.size == kAmount)
            setAmountFormat(*cell);
        else if (c.size == kInteger)
            cell->Alignment = 1;
        x += widths[i];
    }
    top += kRowHeight + 8;

    // Sums of the amount columns under the data; the first column says what they are.
    addBand(*page, btMasterFooter, QStringLiteral("MasterFooter1"), top, kRowHeight, printable);
    x = left;
    for (int i = 0; i < view->count; ++i) {
        const Column& c = view->columns[i];
        const QString name = QStringLiteral("Sum") + QString::number(i + 1);
        TRMMemoView* cell = nullptr;
        if (c.size == kAmount) {
            auto* calc = addMemo<TRMCalcMemoView>(*page, name, x, top, widths[i], kRowHeight,
                                                  fieldReference(c.field));
            calc->DBCalcType = rmdcSum;
            calc->DataBand = QStringLiteral("MasterData1");
            setAmountFormat(*calc);
            calc->setProp(QStringLiteral("HideZeros"), false);
            cell = calc;
        } else {
            cell = addMemo(*page, name, x, top, widths[i], kRowHeight,
                           i == 0 ? QStringLiteral("合计") : QString());
        }
        cell->setFrameTyp(15);
        x += widths[i];
    }
    top += kRowHeight + 8;

    // Page number at the foot of every page.
    addBand(*page, btPageFooter, QStringLiteral("PageFooter1"), top, kRowHeight, printable);
    addMemo(*page, QStringLiteral("PageNo1"), left, top, printable, kRowHeight,
            QStringLiteral("第[Page#]页"))
        ->Alignment = 2;
    return report;
}

QString TRMQueryTemplates::templateText(const QString& viewName) {
    const std::unique_ptr<TRMReport> report = buildReport(viewName);
    return report ? report->TemplateText() : QString();
}

} // namespace kestrane::report
