#pragma once
// Small tables shaped like the module's result sets, shared by the data tests.
#include "data/Table.h"

namespace kestrane::testing {

// f_Bmbm text, f_Bmmc text, f_Dnxh integer, f_Gjje float, f_Gdrq text "YYYYMMDD",
// f_Sfjz boolean, f_Rq date. Row 3 (0-based) has nulls in every column but f_Bmbm.
inline Table sampleTable() {
    Table t({{"f_Bmbm", "部门编码", FieldType::String, 12},
             {"f_Bmmc", "部门名称", FieldType::String, 50},
             {"f_Dnxh", "单内序号", FieldType::Integer},
             {"f_Gjje", "购进金额", FieldType::Float, 0, true, 0, "####0.00"},
             {"f_Gdrq", "勾兑日期", FieldType::String, 10},
             {"f_Sfjz", "是否记账", FieldType::Boolean},
             {"f_Rq", "日期", FieldType::Date}});
    const QVariant null;
    t.appendRow({"0101", "总店一部", 1, 120.5, "20050105", true, QDate(2005, 1, 5)});
    t.appendRow({"0102", "总店二部", 2, 80.0, "20050131", false, QDate(2005, 1, 31)});
    t.appendRow({"0201", "分店", 3, 100.0, "20050201", true, QDate(2005, 2, 1)});
    t.appendRow({"0202", null, null, null, null, null, null});
    t.appendRow({"1", "abc Shop", 10, -5.25, "20041231", false, QDate(2004, 12, 31)});
    t.appendRow({"A1", "ABC shop", 5, 0.0, "20050115", true, QDate(2005, 1, 15)});
    return t;
}

} // namespace kestrane::testing
