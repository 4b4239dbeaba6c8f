#include "query/FieldCatalogues.h"

namespace kestrane::query {

namespace {

FieldDef text(const char* name, const char* label, int size) {
    return FieldDef(name, label, FieldType::String, size);
}

FieldDef amount(const char* name, const char* label) {
    return FieldDef(QString::fromLatin1(name), QString::fromUtf8(label), FieldType::Float, 0, true,
                    0, kAmountFormat);
}

FieldDef integer(const char* name, const char* label) {
    return FieldDef(name, label, FieldType::Integer);
}

FieldDef calculated(FieldDef field) {
    field.calculated = true;
    return field;
}

// The four amounts every view sums.
QList<FieldDef> amounts() {
    return {amount("f_Gjje", "购进金额"), amount("f_Ygsl", "已兑数量"),
            amount("f_Ygws", "已兑无税"), amount("f_Ygje", "已兑金额")};
}

QList<FieldDef> summaryFields(FieldDef code, FieldDef name) {
    return QList<FieldDef>{code, name} + amounts();
}

} // namespace

QList<FieldDef> resultFields(QueryView view) {
    switch (view) {
    case QueryView::Documents:
        return QList<FieldDef>{
                   text("f_Hsdwh", "核算单位号", 20), text("f_Hsdwmc", "核算单位名称", 40),
                   text("f_Bmbm", "部门编码", 12),    text("f_Bmmc", "部门名称", 50),
                   text("f_gjlx", "购进类型", 20),    text("f_Rzrq", "入账日期", 10),
                   text("f_Djh", "单据号", 10),       text("f_Fptjdh", "发票提交单号", 20),
                   text("f_Gysbm", "供应商编码", 12), text("f_Csmc", "供应商名称", 50)} +
               amounts() +
               QList<FieldDef>{text("f_Gdrq", "勾兑日期", 10), text("f_Gdrbm", "勾兑人编码", 8),
                               text("f_Gdrmc", "勾兑人名称", 8)};
    case QueryView::Suppliers:
        return summaryFields(text("f_Gysbm", "供应商编码", 12), text("f_Csmc", "供应商名称", 50));
    case QueryView::Departments:
        return summaryFields(text("f_Bmbm", "部门编码", 12), text("f_Bmmc", "部门名称", 50));
    case QueryView::Items:
        return summaryFields(text("f_Spbm", "商品编码", 15), text("f_Spmc", "商品名称", 50));
    case QueryView::Submissions:
        return summaryFields(text("f_Gysbm", "供应商编码", 12), text("f_Csmc", "供应商名称", 50)) +
               QList<FieldDef>{amount("f_Fpje", "发票金额"),     text("f_Fptjdh", "提交单号", 12),
                               text("f_Gdrq", "勾兑日期", 10),   text("f_Gdrbm", "勾兑人编码", 8),
                               text("f_Gdrmc", "勾兑人名称", 8), text("f_Bz", "备注", 40)};
    case QueryView::Details:
        return QList<FieldDef>{
                   text("f_Hsdwh", "核算单位号", 20), text("f_Hsdwmc", "核算单位名称", 40),
                   text("f_Bmbm", "部门编码", 12),    text("f_Bmmc", "部门名称", 50),
                   text("f_gjlx", "购进类型", 20),    text("f_Rzrq", "入账日期", 10),
                   text("f_Djh", "单据号", 10),       integer("f_Dnxh", "单内序号"),
                   text("f_Gysbm", "供应商编码", 12), text("f_Csmc", "供应商名称", 50),
                   text("f_Spbm", "商品编码", 15),    text("f_Spmc", "商品名称", 50)} +
               amounts() +
               QList<FieldDef>{text("f_Fptjdh", "提交单号", 12), text("f_Gdrq", "勾兑日期", 10),
                               text("f_Gdrbm", "勾兑人编码", 8), text("f_Gdrmc", "勾兑人名称", 8)};
    }
    return {};
}

QString resultDatasetName(QueryView view) {
    switch (view) {
    case QueryView::Documents:
        return QStringLiteral("adsbill1");
    case QueryView::Suppliers:
        return QStringLiteral("adsbill2");
    case QueryView::Departments:
        return QStringLiteral("adsbill3");
    case QueryView::Items:
        return QStringLiteral("adsbill4");
    case QueryView::Submissions:
        return QStringLiteral("adsbill5");
    case QueryView::Details:
        return QStringLiteral("adsbill");
    }
    return {};
}

QStringList sumFooterFields(QueryView view) {
    QStringList fields{"f_Gjje", "f_Ygsl", "f_Ygws", "f_Ygje"};
    if (view == QueryView::Submissions)
        fields << "f_Fpje";
    return fields;
}

QList<FieldDef> conditionFields(QueryView view) {
    const bool submissions = view == QueryView::Submissions;
    QList<FieldDef> fields{text("a.f_Bmbm", "部门编码", 12),
                           text("b.f_Bmmc", "部门名称", 50),
                           text("a.f_Rzrq", "入账日期", 10),
                           text("a.f_Djh", "单据号", 10),
                           calculated(integer("a.f_Dnxh", "单内序号")),
                           text("a.f_Gysbm", "供应商编码", 12),
                           text("d.f_Csmc", "供应商名称", 50),
                           calculated(text("a.f_Spbm", "商品编码", 15))};
    if (!submissions)
        fields << calculated(text("c.f_Spmc", "商品名称", 50));
    fields << text("a.f_Gdrq", "勾兑日期", 10) << text("a.f_Gdrbm", "勾兑人编码", 8)
           << text("a.f_Gdrmc", "勾兑人名称", 8) << text("a.f_Fptjdh", "提交单号", 12)
           << text("a.f_Gjlx", "购进类型", 20)
           << text(submissions ? "a.f_hsdwh" : "a.f_Hsdwh", "核算单位号", 20);
    return fields;
}

QString conditionCatalogueName(QueryView view) {
    return view == QueryView::Submissions ? QStringLiteral("cdsWhere1")
                                          : QStringLiteral("cdsWhere");
}

} // namespace kestrane::query
