#pragma once
// The stock print templates of the reconciled-receipt inquiry, one per query view
// ("单据汇总", "厂商汇总", "部门汇总", "商品汇总", "提交单汇总", "明细"), built through the
// report model: a title with the condition summary [cxtj] and the query date [cxrq], a page
// header with the column titles, a master data band of memos bound to the print dataset's
// fields (amounts as "####0.00"), a master footer with the sums of the amounts, and a page
// footer with the page number. The host stores each as template text in tbReport under
// f_sortname "已勾验收单", with the view's name as f_reportname.
#include <QString>
#include <QStringList>
#include <memory>

namespace kestrane::report {

class TRMReport;

class TRMQueryTemplates {
public:
    // The f_sortname the templates are stored under.
    static QString sortName() { return QStringLiteral("已勾验收单"); }
    // The six view names, in the order of the view choice.
    static QStringList viewNames();
    // The design of one view; nullptr for an unknown name.
    static std::unique_ptr<TRMReport> buildReport(const QString& viewName);
    // The design as template text (hexadecimal, ended by "#"); empty for an unknown name.
    static QString templateText(const QString& viewName);
};

} // namespace kestrane::report
