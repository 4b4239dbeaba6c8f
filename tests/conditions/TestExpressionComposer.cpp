#include "conditions/ConditionOperators.h"
#include "conditions/ExpressionComposer.h"

#include <QtTest>

using namespace kestrane;
using namespace kestrane::conditions;

Q_DECLARE_METATYPE(kestrane::conditions::ConditionList)

namespace {

// The query form's condition catalogue: field names carry the table alias.
QList<FieldDef> queryCatalogue() {
    auto text = [](const char* name, const char16_t* label) {
        FieldDef f;
        f.name = QString::fromLatin1(name);
        f.displayLabel = QString::fromUtf16(label);
        f.type = FieldType::String;
        return f;
    };
    QList<FieldDef> fields{text("a.f_Bmbm", u"部门编码"), text("d.f_Csmc", u"供应商名称"),
                           text("a.f_Djh", u"单据号"), text("a.f_Rzrq", u"入账日期")};
    FieldDef dnxh;
    dnxh.name = QStringLiteral("a.f_Dnxh");
    dnxh.displayLabel = QStringLiteral("单内序号");
    dnxh.type = FieldType::Integer;
    fields.append(dnxh);
    return fields;
}

ConditionRow cond(const QString& caption, const QString& op, const QString& value) {
    return ConditionRow::condition(caption, op, value);
}

const QString AND = kLogicAnd;
const QString OR = kLogicOr;

} // namespace

class TestExpressionComposer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void operatorTable() {
        QCOMPARE(operatorWords(), QStringList({"等于", "大于", "大于等于", "小于", "小于等于",
                                               "不等于", "部分等于", "部分不等于", "左等于"}));
        QCOMPARE(operatorIndex("部分不等于"), 7);
        QCOMPARE(operatorIndex("像"), -1);
        QCOMPARE(operatorSql(2), QString(" >= "));
        QCOMPARE(operatorSql(9), QString());
    }

    void queryMode_data() {
        QTest::addColumn<ConditionList>("rows");
        QTest::addColumn<QString>("expected");

        // The worked examples of the query form.
        QTest::newRow("equal on text")
            << ConditionList{cond("部门编码", "等于", "0101")} << "( a.f_Bmbm = '0101' )";
        QTest::newRow("and with like")
            << ConditionList{cond("部门编码", "等于", "0101"), ConditionRow::logic(AND),
                             cond("供应商名称", "部分等于", "食品")}
            << "( a.f_Bmbm = '0101' ) And ( d.f_Csmc LIKE '%食品%' )";
        QTest::newRow("integer bare")
            << ConditionList{cond("单内序号", "大于", "5")} << "( a.f_Dnxh > 5 )";
        QTest::newRow("left equal")
            << ConditionList{cond("单据号", "左等于", "PO")} << "( a.f_Djh LIKE 'PO%' )";
        QTest::newRow("not like in query")
            << ConditionList{cond("供应商名称", "部分不等于", "食品")}
            << "( d.f_Csmc NOT LIKE '%食品%' )";
        QTest::newRow("date range") << ConditionList{cond("入账日期", "等于", "20050101|20050131")}
                                    << "( 1=1  And a.f_Rzrq Between '20050101' And '20050131' )";
        QTest::newRow("or") << ConditionList{cond("部门编码", "等于", "01"),
                                             ConditionRow::logic(OR),
                                             cond("部门编码", "等于", "02")}
                            << "( a.f_Bmbm = '01' ) OR ( a.f_Bmbm = '02' )";

        // Edge cases.
        QTest::newRow("empty list") << ConditionList{} << "";
        QTest::newRow("same value quoted on text")
            << ConditionList{cond("部门编码", "大于等于", "5")} << "( a.f_Bmbm >= '5' )";
        QTest::newRow("every comparison")
            << ConditionList{cond("单内序号", "小于", "1"), ConditionRow::logic(AND),
                             cond("单内序号", "小于等于", "2"), ConditionRow::logic(AND),
                             cond("单内序号", "不等于", "3")}
            << "( a.f_Dnxh < 1 ) And ( a.f_Dnxh <= 2 ) And ( a.f_Dnxh <> 3 )";
        QTest::newRow("range on any operator") << ConditionList{cond("单内序号", "部分等于", "a|b")}
                                               << "( 1=1  And a.f_Dnxh Between 'a' And 'b' )";
        QTest::newRow("two ranges") << ConditionList{cond("单据号", "大于", "a|b,c|d")}
                                    << "( 1=1  And a.f_Djh Between 'a' And 'b' And a.f_Djh "
                                       "Between 'c' And 'd' )";
        QTest::newRow("open upper bound") << ConditionList{cond("单据号", "等于", "a|")}
                                          << "( 1=1  And a.f_Djh Between 'a' And '' )";
        QTest::newRow("third bar ignored") << ConditionList{cond("单据号", "等于", "a|b|c")}
                                           << "( 1=1  And a.f_Djh Between 'a' And 'b' )";
        QTest::newRow("comma only is simple")
            << ConditionList{cond("单据号", "等于", "a,b")} << "( a.f_Djh = 'a,b' )";
        QTest::newRow("empty value") << ConditionList{cond("单据号", "等于", "")} << "( 1=1  )";
        QTest::newRow("plain pieces in grouped form")
            << ConditionList{cond("单据号", "等于", "a;b,c|d")}
            << "( 1=1  Or a.f_Djh = 'a;b' And a.f_Djh Between 'c' And 'd' )";
        QTest::newRow("unknown caption takes first field")
            << ConditionList{cond("没有", "等于", "x")} << "( a.f_Bmbm = 'x' )";
        QTest::newRow("caption compared exactly")
            << ConditionList{cond("单据号 ", "等于", "x")} << "( a.f_Bmbm = 'x' )";
        QTest::newRow("unknown operator") << ConditionList{cond("单据号", "", "x")} << "(  )";
        QTest::newRow("any other logic word is OR")
            << ConditionList{cond("单据号", "等于", "1"), ConditionRow::logic("and"),
                             cond("单据号", "等于", "2")}
            << "( a.f_Djh = '1' ) OR ( a.f_Djh = '2' )";
        QTest::newRow("no outer parentheses")
            << ConditionList{cond("单据号", "等于", "1"), ConditionRow::logic(OR),
                             cond("单据号", "等于", "2"), ConditionRow::logic(AND),
                             cond("单据号", "等于", "3")}
            << "( a.f_Djh = '1' ) OR ( a.f_Djh = '2' ) And ( a.f_Djh = '3' )";

        // A quote in a value can never end its literal early.
        QTest::newRow("quote in equal") << ConditionList{cond("单据号", "等于", "x' OR 1=1 --")}
                                        << "( a.f_Djh = 'x'' OR 1=1 --' )";
        QTest::newRow("quote in like") << ConditionList{cond("单据号", "部分等于", "O'Neil")}
                                       << "( a.f_Djh LIKE '%O''Neil%' )";
        QTest::newRow("quote in left like")
            << ConditionList{cond("单据号", "左等于", "'")} << "( a.f_Djh LIKE '''%' )";
        QTest::newRow("quote in range") << ConditionList{cond("单据号", "等于", "a'|b'")}
                                        << "( 1=1  And a.f_Djh Between 'a''' And 'b''' )";
        QTest::newRow("quote in plain piece")
            << ConditionList{cond("单据号", "等于", "a';b")} << "( 1=1  Or a.f_Djh = 'a'';b' )";
    }
    void queryMode() {
        QFETCH(ConditionList, rows);
        QFETCH(QString, expected);
        const ComposeResult result = composeExpression(rows, queryCatalogue(), {});
        QCOMPARE(result.expression, expected);
        QVERIFY(result.notLikeFilter.isEmpty());
        QVERIFY(result.notLikeField.isEmpty());
    }

    void aliasesAndFieldMap_data() {
        QTest::addColumn<QString>("aliasList");
        QTest::addColumn<QStringList>("fieldMap");
        QTest::addColumn<int>("tag");
        QTest::addColumn<QString>("expected");
        QTest::newRow("one alias for every field")
            << "x" << QStringList() << 2 << "( x.f_Bmbm = '1' )";
        QTest::newRow("tag 1") << "x,y" << QStringList() << 1 << "( x.f_Bmbm = '1' )";
        QTest::newRow("tag 2") << "x,y" << QStringList() << 2 << "( y.f_Bmbm = '1' )";
        QTest::newRow("tag beyond list") << "x,y" << QStringList() << 3 << "( f_Bmbm = '1' )";
        QTest::newRow("tag beyond counter range")
            << "x,y" << QStringList() << 300 << "( f_Bmbm = '1' )";
        QTest::newRow("blank list") << "  " << QStringList() << 1 << "( f_Bmbm = '1' )";
        QTest::newRow("substitute lower-cased")
            << "" << QStringList{"f_bmbm=Upper(a.F_Bmbm)"} << 0 << "( upper(a.f_bmbm) = '1' )";
        QTest::newRow("first matching entry wins")
            << "" << QStringList{"f_djh=X", "xf_bmbmx=First", "f_bmbm=Second"} << 0
            << "( first = '1' )";
        QTest::newRow("name after the equals sign does not match")
            << "" << QStringList{"other=f_Bmbm"} << 0 << "( f_Bmbm = '1' )";
        QTest::newRow("entry without equals sign")
            << "" << QStringList{"f_bmbm"} << 0 << "( f_Bmbm = '1' )";
        QTest::newRow("alias prefixed to substitute")
            << "t" << QStringList{"f_bmbm=trim(f_bmbm)"} << 0 << "( t.trim(f_bmbm) = '1' )";
    }
    void aliasesAndFieldMap() {
        QFETCH(QString, aliasList);
        QFETCH(QStringList, fieldMap);
        QFETCH(int, tag);
        QFETCH(QString, expected);
        FieldDef field;
        field.name = QStringLiteral("f_Bmbm");
        field.displayLabel = QStringLiteral("部门编码");
        field.tag = tag;
        ComposeSettings settings{aliasList, fieldMap, false};
        const auto result = composeExpression({cond("部门编码", "等于", "1")}, {field}, settings);
        QCOMPARE(result.expression, expected);
    }

    void filterMode_data() {
        QTest::addColumn<ConditionList>("rows");
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("notLikeFilter");
        QTest::addColumn<QString>("notLikeField");
        QTest::newRow("not like becomes placeholder")
            << ConditionList{cond("部门名称", "部分不等于", "总店")}
            << "( f_Bmmc<>'temp@temp@temp' )"
            << "f_Bmmc LIKE '%总店%'"
            << "f_Bmmc";
        QTest::newRow("second not like wins")
            << ConditionList{cond("部门名称", "部分不等于", "总店"), ConditionRow::logic(AND),
                             cond("部门编码", "部分不等于", "01")}
            << "( f_Bmmc<>'temp@temp@temp' ) And ( f_Bmbm<>'temp@temp@temp' )"
            << "f_Bmbm LIKE '%01%'"
            << "f_Bmbm";
        QTest::newRow("other operators as in queries")
            << ConditionList{cond("部门名称", "部分等于", "店"), ConditionRow::logic(OR),
                             cond("金额", "大于", "10.5")}
            << "( f_Bmmc LIKE '%店%' ) OR ( f_Gjje > 10.5 )"
            << ""
            << "";
        QTest::newRow("quote in excluded value")
            << ConditionList{cond("部门名称", "部分不等于", "a'b")}
            << "( f_Bmmc<>'temp@temp@temp' )"
            << "f_Bmmc LIKE '%a''b%'"
            << "f_Bmmc";
    }
    void filterMode() {
        QFETCH(ConditionList, rows);
        QFETCH(QString, expected);
        QFETCH(QString, notLikeFilter);
        QFETCH(QString, notLikeField);
        QList<FieldDef> fields(3);
        fields[0].name = "f_Bmbm";
        fields[0].displayLabel = "部门编码";
        fields[1].name = "f_Bmmc";
        fields[1].displayLabel = "部门名称";
        fields[2].name = "f_Gjje";
        fields[2].displayLabel = "金额";
        fields[2].type = FieldType::Float;
        ComposeSettings settings;
        settings.filterMode = true;
        const auto result = composeExpression(rows, fields, settings);
        QCOMPARE(result.expression, expected);
        QCOMPARE(result.notLikeFilter, notLikeFilter);
        QCOMPARE(result.notLikeField, notLikeField);
    }

    void noFieldsAtAll() {
        // A dataset without fields must not bring the dialog down.
        const auto result = composeExpression({cond("x", "等于", "1")}, {}, {});
        QCOMPARE(result.expression, QString("(  = 1 )"));
    }
};

QTEST_GUILESS_MAIN(TestExpressionComposer)
#include "TestExpressionComposer.moc"
