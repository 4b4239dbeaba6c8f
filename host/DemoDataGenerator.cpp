#include "host/DemoDataGenerator.h"

#include "common/Error.h"
#include "report/TRMQueryTemplates.h"

#include <map>
#include <random>
#include <vector>

namespace kestrane::host {

const QString DemoDataGenerator::kSysParamTable = u"tbXtcs"_qs;
const QString DemoDataGenerator::kInfoTable = u"tbDemoInfo"_qs;

namespace {

// Random numbers that are the same on every platform: mt19937_64's output is fixed by the
// standard, the distributions of <random> are not, so they are not used.
class Dice {
public:
    explicit Dice(uint64_t seed) : m_engine(seed) {}
    // 0 .. n-1
    int below(int n) { return n <= 1 ? 0 : int(m_engine() % uint64_t(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T> const T& pick(const std::vector<T>& v) {
        return v[std::size_t(below(int(v.size())))];
    }

private:
    std::mt19937_64 m_engine;
};

SqlColumn text(const char* name, int size) {
    return SqlColumn{QString::fromLatin1(name), SqlColumn::Text, size};
}
SqlColumn integer(const char* name) {
    return SqlColumn{QString::fromLatin1(name), SqlColumn::Integer, 0};
}
SqlColumn amount(const char* name) {
    return SqlColumn{QString::fromLatin1(name), SqlColumn::Amount, 0};
}
SqlColumn memo(const char* name) {
    return SqlColumn{QString::fromLatin1(name), SqlColumn::Memo, 0};
}

QString pad(qint64 value, int width) {
    return QString::number(value).rightJustified(width, u'0');
}

// Amounts are kept in fen (hundredths of a yuan) while generating, so that every stored
// amount has exactly two decimals and sums agree on every backend.
QVariant yuan(qint64 fen) {
    return double(fen) / 100.0;
}

struct Unit {
    QString code, name;
};
struct Named {
    QString code, name;
};

const std::vector<Unit> kUnits = {
    {u"01"_qs, u"星河商贸总部配送中心"_qs},
    {u"02"_qs, u"星河东城购物广场"_qs},
    {u"03"_qs, u"星河西城生活超市"_qs},
    {u"04"_qs, u"星河南湖便利店"_qs},
};

const std::vector<Named> kDepartments = {
    {u"0101"_qs, u"食品部"_qs},     {u"0102"_qs, u"粮油部"_qs},     {u"0103"_qs, u"生鲜部"_qs},
    {u"0104"_qs, u"烟酒部"_qs},     {u"0201"_qs, u"日化部"_qs},     {u"0202"_qs, u"洗涤用品部"_qs},
    {u"0301"_qs, u"家电部"_qs},     {u"0302"_qs, u"数码通讯部"_qs}, {u"0401"_qs, u"针纺部"_qs},
    {u"0402"_qs, u"服装部"_qs},     {u"0501"_qs, u"百货部"_qs},     {u"0502"_qs, u"文体用品部"_qs},
    {u"0601"_qs, u"医药保健部"_qs},
};

struct Operator {
    QString code, name, department;
    QStringList units; // empty: no permission rows, every unit visible
};

const std::vector<Operator> kOperators = {
    {u"0001"_qs, u"系统管理员"_qs, u"0101"_qs, {}},
    {u"0002"_qs, u"张丽"_qs, u"0101"_qs, {u"01"_qs}},
    {u"0003"_qs, u"王强"_qs, u"0201"_qs, {u"02"_qs, u"03"_qs}},
    {u"0004"_qs, u"李娜"_qs, u"0301"_qs, {}},
    {u"0005"_qs, u"赵敏"_qs, u"0401"_qs, {u"04"_qs}},
    {u"0006"_qs, u"陈刚"_qs, u"0501"_qs, {}},
    {u"0007"_qs, u"刘芳"_qs, u"0601"_qs, {}},
};

// Reconcilers of the acceptance lines.
const std::vector<int> kReconcilers = {3, 4, 5, 6};

std::vector<Named> makeSuppliers() {
    const char16_t* cities[] = {u"上海", u"杭州", u"南京", u"苏州", u"广州", u"深圳",
                                u"北京", u"天津", u"青岛", u"宁波", u"无锡", u"合肥"};
    const char16_t* words[] = {u"光明", u"华联", u"金龙", u"恒丰", u"永昌", u"联华",
                               u"新发", u"鼎盛", u"天元", u"瑞丰", u"富康", u"嘉禾"};
    const char16_t* trades[] = {u"食品有限公司", u"贸易有限公司", u"日用品有限公司",
                                u"电器有限公司", u"商贸有限公司", u"纺织品有限公司",
                                u"粮油有限公司", u"医药有限公司"};
    std::vector<Named> out;
    for (int i = 0; i < 64; ++i) {
        const QString name = QString::fromUtf16(cities[i % 12]) +
                             QString::fromUtf16(words[(i * 5 + i / 12) % 12]) +
                             QString::fromUtf16(trades[(i * 3 + i / 8) % 8]);
        out.push_back({u"G"_qs + pad(1001 + i, 5), name});
    }
    return out;
}

std::vector<Named> makeItems() {
    const char16_t* brands[] = {u"金龙鱼", u"福临门", u"康师傅", u"统一",   u"蒙牛", u"伊利",
                                u"海天",   u"立白",   u"蓝月亮", u"舒肤佳", u"美的", u"九阳",
                                u"恒源祥", u"晨光",   u"五粮液", u"青岛"};
    const char16_t* goods[] = {u"大米 5kg",     u"花生油 5L", u"红烧牛肉面", u"冰红茶 500ml",
                               u"纯牛奶 250ml", u"酸奶 200g", u"生抽 500ml", u"洗衣粉 1.5kg",
                               u"洗衣液 2kg",   u"香皂 115g", u"电饭煲",     u"豆浆机",
                               u"羊毛衫",       u"中性笔",    u"白酒 500ml", u"啤酒 330ml",
                               u"挂面 1kg",     u"饼干 400g", u"薯片 75g",   u"毛巾"};
    std::vector<Named> out;
    int n = 0;
    for (int b = 0; b < 16; ++b) {
        for (int g = 0; g < 20; ++g) {
            if ((b * 7 + g * 3) % 4 == 0)
                continue; // not every brand sells everything
            out.push_back({u"10"_qs + pad(++n, 6),
                           QString::fromUtf16(brands[b]) + QString::fromUtf16(goods[g])});
        }
    }
    return out;
}

std::vector<Named> makeMedicines() {
    const char16_t* names[] = {u"板蓝根颗粒 10g*20袋",
                               u"感冒灵颗粒 10g*9袋",
                               u"阿莫西林胶囊 0.25g*24粒",
                               u"布洛芬缓释胶囊 0.3g*20粒",
                               u"维生素C片 100mg*100片",
                               u"复方甘草片 100片",
                               u"藿香正气水 10ml*10支",
                               u"六味地黄丸 200丸",
                               u"云南白药创可贴 100片",
                               u"医用口罩 50只",
                               u"酒精消毒液 500ml",
                               u"体温计",
                               u"碘伏 100ml",
                               u"健胃消食片 32片",
                               u"清凉油 3g",
                               u"葡萄糖酸钙口服液 10支",
                               u"枸杞子 250g",
                               u"西洋参片 50g",
                               u"蒲地蓝消炎片 48片",
                               u"牛黄解毒片 24片"};
    std::vector<Named> out;
    int n = 0;
    for (const char16_t* name : names)
        out.push_back({u"90"_qs + pad(++n, 6), QString::fromUtf16(name)});
    return out;
}

// Purchase types by weight: mostly stock-in, some direct delivery and proxy delivery,
// returns, adjustments ("3"), and type "9" whose items live in tbYyda.
const std::vector<std::pair<QString, int>> kPurchaseTypes = {
    {u"0"_qs, 45}, {u"1"_qs, 10}, {u"2"_qs, 4}, {u"4"_qs, 3}, {u"5"_qs, 3},
    {u"6"_qs, 2},  {u"7"_qs, 3},  {u"8"_qs, 6}, {u"3"_qs, 4}, {u"9"_qs, 20},
};

QString pickPurchaseType(Dice& dice) {
    int r = dice.below(100);
    for (const auto& [code, weight] : kPurchaseTypes) {
        if (r < weight)
            return code;
        r -= weight;
    }
    return u"0"_qs;
}

const QList<SqlColumn> kYgysColumns = {
    text("f_Hsdwh", 20),  text("f_Bmbm", 12), text("f_Gjlx", 2),  text("f_Rzrq", 8),
    text("f_Djh", 10),    integer("f_Dnxh"),  text("f_Spbm", 15), text("f_Gysbm", 12),
    amount("f_Gjje"),     amount("f_Ygsl"),   amount("f_Ygws"),   amount("f_Ygje"),
    text("f_Fptjdh", 12), text("f_Gdrq", 8),  text("f_Gdrbm", 8), text("f_Gdrmc", 8),
    text("f_djbz", 1),
};
const QList<SqlColumn> kFptjdzbColumns = {text("f_Hsdwh", 20), text("f_Djh", 12),
                                          text("f_Gysbm", 12), text("f_Tjrq", 8), text("f_Bz", 40)};
const QList<SqlColumn> kFptjdcbColumns = {text("f_Djh", 12), integer("f_Xh"), text("f_Fphm", 20),
                                          amount("f_Fpje")};

struct SysParam {
    const char* key;
    QString value;
    const char16_t* note;
};

// Every parameter key the product's modules read, with the values of a small chain whose
// head office is unit "01".
std::vector<SysParam> systemParameters(const QString& firstMonth) {
    return {
        {"qyny", firstMonth, u"系统启用年月"},
        {"dwmc", u"星河商贸连锁有限公司"_qs, u"单位名称"},
        {"sh", u"91310115763987654X"_qs, u"税号"},
        {"dz", u"上海市浦东新区世纪大道88号"_qs, u"单位地址"},
        {"lxdh", u"021-58881234"_qs, u"联系电话"},
        {"khh", u"中国工商银行上海浦东支行"_qs, u"开户行"},
        {"zh", u"1001234509000012345"_qs, u"账号"},
        {"dwlx", u"01"_qs, u"单位类型"},
        {"dybm", u"0101"_qs, u"连锁编码及前台销售柜组编码"},
        {"hykls", u"01"_qs, u"会员卡连锁"},
        {"sljd", u"2"_qs, u"数量精度"},
        {"lskz", u"1"_qs, u"连锁控制"},
        {"jjkz", u"0"_qs, u"进价控制"},
        {"cskz", u"1"_qs, u"厂商控制"},
        {"zrrkz", u"0"_qs, u"责任人控制"},
        {"dddyhs", u"20"_qs, u"订货单打印行数"},
        {"sphsfs", u"1"_qs, u"商品核算方式"},
        {"jjcbhsff", u"1"_qs, u"进价成本核算方法"},
        {"sjcbhsff", u"1"_qs, u"售价成本核算方法"},
        {"cbjzfs", u"1"_qs, u"成本结转方式"},
        {"jsxtfs", u"1"_qs, u"结算系统方式"},
        {"rqssj", u"00:00:00"_qs, u"日起始时间"},
        {"fgckjb", u"1"_qs, u"分割仓库级别"},
        {"brddyhs", u"20"_qs, u"拨入单打印行数"},
        {"brdhscfs", u"1"_qs, u"拨入单号生成方式"},
        {"bcddyhs", u"20"_qs, u"拨出单打印行数"},
        {"bcdhscfs", u"1"_qs, u"拨出单号生成方式"},
        {"dbddyhs", u"20"_qs, u"调拨单打印行数"},
        {"dbdhscfs", u"1"_qs, u"调拨单号生成方式"},
        {"jgddyhs", u"20"_qs, u"加工单打印行数"},
        {"jgdhscfs", u"1"_qs, u"加工单号生成方式"},
        {"sgddyhs", u"20"_qs, u"上柜（直配）单打印行数"},
        {"sgdhscfs", u"1"_qs, u"上柜（直配）单号生成方式"},
        {"tbddyhs", u"20"_qs, u"退补单打印行数"},
        {"tbdhscfs", u"1"_qs, u"退补单号生成方式"},
        {"ykddyhs", u"20"_qs, u"移库单打印行数"},
        {"ykdhscfs", u"1"_qs, u"移库单号生成方式"},
        {"syddyhs", u"20"_qs, u"损溢单打印行数"},
        {"sydhscfs", u"1"_qs, u"损溢单号生成方式"},
        {"ysddyhs", u"20"_qs, u"验收单打印行数"},
        {"ysdhscfs", u"1"_qs, u"验收单号生成方式"},
        {"pdbdyhs", u"30"_qs, u"盘点单打印行数"},
        {"pdbhscfs", u"1"_qs, u"盘点单号生成方式"},
        {"psdahsfg", u"1"_qs, u"配送单按核算分割"},
        {"ysdahsfg", u"1"_qs, u"验收单按核算分割"},
        {"xsdahsfg", u"1"_qs, u"销售单按核算分割"},
        {"thddyhs", u"20"_qs, u"提货单打印行数"},
        {"tjddyhs", u"20"_qs, u"调价单打印行数"},
        {"ptfpdyhs", u"10"_qs, u"普通发票打印行数"},
        {"spfzflx", u"0"_qs, u"商品辅助分类型"},
        {"kpyxcfsp", u"1"_qs, u"开票允许重复商品"},
        {"djfgfs", u"0"_qs, u"单据分割方式"},
        {"psxzsl", u"100000"_qs, u"配送限制数量"},
        {"xsxzsl", u"100000"_qs, u"销售限制数量"},
        {"jhxzsl", u"100000"_qs, u"进货限制数量"},
        {"thcpbxxdythqd", u"0"_qs, u"退货出票必须先打印退货清单"},
        {"zjdyfs", u"0"_qs, u"整件打印方式"},
        {"ddysfs", u"0"_qs, u"订单验收方式"},
        {"hsdwh", u"01"_qs, u"核算单位号"},
        {"dpckbm", u"001"_qs, u"代配仓库编码"},
        {"dpjfs", u"0"_qs, u"代配价方式"},
        {"pslssj", u"0"_qs, u"配送零售价"},
        {"thjjclfs", u"0"_qs, u"退货进价处理方式"},
        {"sjkbbh", u"5.2.0"_qs, u"数据库版本号"},
        {"psysjscdjd", u"0"_qs, u"配送验收价生成定价单"},
        {"ysjscdjdbm", u"0101"_qs, u"验收价生成定价单部门"},
        {"ddyszzfs", u"0"_qs, u"订单验收终止方式"},
        {"ddyxrqqy", u"0"_qs, u"订单有效日期启用"},
        {"ysfs", u"0"_qs, u"验收方式"},
        {"dddysjj", u"0"_qs, u"订单打印售价"},
        {"cpzkspyzbkz", u"0"_qs, u"出票折扣商品由总部控制"},
        {"jzscltjbc", u"0"_qs, u"结转生成零调价补差"},
        {"jzsclyxjjsxzpzdp", u"0"_qs, u"结转生成零游戏进价"},
        {"ysqr", u"1"_qs, u"验收确认"},
        {"khzqqy", u"0"_qs, u"客户账期启用"},
        {"zkhwlqy", u"0"_qs, u"总客户往来启用"},
        {"hykxc", u"0"_qs, u"会员卡相关"},
        {"xsfkz", u"0"_qs, u"小数分控制"},
        {"kckz", u"1"_qs, u"库存控制"},
        {"hyklwms", u"0"_qs, u"会员卡联网模式"},
        {"yckqzj", u"127.0.0.1"_qs, u"远程卡前置机"},
        {"mdzdysj", u"0"_qs, u"门店自定义售价"},
        {"mdzdyjj", u"0"_qs, u"门店自定义进价"},
        {"dchy", u"0"_qs, u"多重会员"},
        {"xstbqyrq", firstMonth + u"01"_qs, u"销售提成启用日期"},
        {"ddbrkz", u"0"_qs, u"订单拨入控制"},
        {"ypphqy", u"0"_qs, u"药品批号启用"},
        {"zmqy", u"0"_qs, u"账面启用"},
        {"djphmrz", u"0"_qs, u"单据批号默认值"},
        {"ypphchsclfs", u"0"_qs, u"药品批号冲红时处理方式"},
        {"ypthphkz", u"1"_qs, u"药品退货批号控制"},
        {"sxcycbft", u"0"_qs, u"损溢差异成本分摊"},
        {"sxqmpkc", u"0"_qs, u"期末盘库存"},
        {"xpdjmrsl", u"17"_qs, u"新品定价默认税率"},
        {"zbbm", u"01"_qs, u"总部编码"},
        {"dztqy", u"0"_qs, u"电子台启用"},
        {"ddzxqy", u"0"_qs, u"订单执行启用"},
        {"psfpbdyhs", u"25"_qs, u"配送发票表打印行数"},
        {"jjbkzzxzbjj", u"0"_qs, u"进价不控制执行总部进价"},
        {"fmlspyjzdsy", u"0"_qs, u"负毛利商品允许自动损溢"},
        {"sxpdsyflfs", u"0"_qs, u"盘点损溢分类方式"},
        {"sxpdsyfzfl", u"0"_qs, u"盘点损溢辅助分类"},
        {"ddzxyslxsl", u"0"_qs, u"订单执行验收类型数量"},
        {"ddsczb", u"0"_qs, u"订单生成总部"},
        {"pdyxcfsp", u"1"_qs, u"盘点允许重复商品"},
        {"ysxzpssp", u"0"_qs, u"验收限制配送商品"},
        {"jekzsptj", u"0"_qs, u"金额控制商品调价"},
        {"mdqyrjxstb", u"0"_qs, u"门店启用日结销售提报"},
        {"jzsjzdtj", u"0"_qs, u"结转时自动调价"},
        {"tyspddcsf", u"0"_qs, u"统一商品订单参数"},
        {"jhddyhs", u"20"_qs, u"拣货单打印行数"},
        {"ycspl", QString(), u"隐藏商品列"},
        {"hykcszt", u"0"_qs, u"会员卡初始状态"},
        {"ddzxsqdtqhb", u"1"_qs, u"订单执行申请单提前合并"},
        {"typdrfbmjz", u"0"_qs, u"统一盘点日分部门结转"},
        {"hykkhxe", u"0"_qs, u"会员卡开户限额"},
        {"dcjdbzrck", QString(), u"调出据点标准入库"},
    };
}

void dropIfExists(SqlBackend& db, const QString& table) {
    db.execute(u"drop table if exists "_qs + table);
}

} // namespace

DemoDataGenerator::DemoDataGenerator(const DemoDataOptions& options) : m_options(options) {
    if (!m_options.today.isValid())
        m_options.today = QDate::currentDate();
    if (m_options.lines < 0)
        m_options.lines = 0;
}

QStringList DemoDataGenerator::months() const {
    QStringList out;
    const QDate first =
        QDate(m_options.today.year(), m_options.today.month(), 1).addMonths(-(kMonths - 1));
    for (int i = 0; i < kMonths; ++i)
        out << first.addMonths(i).toString(u"yyyyMM"_qs);
    return out;
}

bool DemoDataGenerator::isCurrent(SqlBackend& db, const QDate& today) {
    if (!db.tableExists(kInfoTable))
        return false;
    const Table t = db.query(u"select f_Value from "_qs + kInfoTable + u" where f_Key = ?"_qs,
                             {u"lastMonth"_qs});
    return t.rowCount() == 1 && t.text(0, 0) == today.toString(u"yyyyMM"_qs);
}

void DemoDataGenerator::generate(SqlBackend& db) {
    Dice dice(m_options.seed);
    const QStringList monthList = months();
    const std::vector<Named> suppliers = makeSuppliers();
    const std::vector<Named> items = makeItems();
    const std::vector<Named> medicines = makeMedicines();

    db.begin();
    try {
        // ---- master data ----------------------------------------------------------------
        const QStringList masters = {u"tbHsdwda"_qs, u"tbBmda"_qs, u"tbSpda"_qs,     u"tbYyda"_qs,
                                     u"tbCsda"_qs,   u"tbzyda"_qs, u"tbzyfghsdw"_qs, u"tbReport"_qs,
                                     kSysParamTable, kInfoTable};
        for (const QString& t : masters)
            dropIfExists(db, t);
        // Older months of an earlier demo would linger otherwise; a demo made on another day
        // may reach up to two years further back.
        const QDate first = QDate::fromString(monthList.first() + u"01"_qs, u"yyyyMMdd"_qs);
        for (int i = -kMonths; i < kMonths + 1; ++i) {
            const QString period = first.addMonths(i).toString(u"yyyyMM"_qs);
            for (const char* suffix : {"_Ygys", "_Fptjdzb", "_Fptjdcb"})
                dropIfExists(db, u"tb"_qs + period + QLatin1String(suffix));
        }

        const QList<SqlColumn> unitCols = {text("f_Hsdwh", 20), text("f_Hsdwmc", 40)};
        db.createTable(u"tbHsdwda"_qs, unitCols, {u"f_Hsdwh"_qs});
        std::vector<QVariantList> rows;
        for (const Unit& u : kUnits)
            rows.push_back({u.code, u.name});
        db.insertRows(u"tbHsdwda"_qs, unitCols, rows);

        const QList<SqlColumn> deptCols = {text("f_Bmbm", 12), text("f_Bmmc", 50)};
        db.createTable(u"tbBmda"_qs, deptCols, {u"f_Bmbm"_qs});
        rows.clear();
        for (const Named& d : kDepartments)
            rows.push_back({d.code, d.name});
        db.insertRows(u"tbBmda"_qs, deptCols, rows);

        const QList<SqlColumn> itemCols = {text("f_Spbm", 15), text("f_Spmc", 50),
                                           text("f_Jldw", 8), amount("f_Jj")};
        db.createTable(u"tbSpda"_qs, itemCols, {u"f_Spbm"_qs});
        rows.clear();
        for (const Named& i : items)
            rows.push_back({i.code, i.name, u"件"_qs, yuan(100 + dice.below(20000))});
        db.insertRows(u"tbSpda"_qs, itemCols, rows);

        const QList<SqlColumn> medCols = {text("f_Yybm", 15), text("f_Yymc", 50), text("f_Jldw", 8),
                                          amount("f_Jj")};
        db.createTable(u"tbYyda"_qs, medCols, {u"f_Yybm"_qs});
        rows.clear();
        for (const Named& m : medicines)
            rows.push_back({m.code, m.name, u"盒"_qs, yuan(200 + dice.below(8000))});
        db.insertRows(u"tbYyda"_qs, medCols, rows);

        const QList<SqlColumn> supplierCols = {text("f_Csbm", 12), text("f_Csmc", 50),
                                               text("f_Lxr", 20), text("f_Dh", 20)};
        db.createTable(u"tbCsda"_qs, supplierCols, {u"f_Csbm"_qs});
        rows.clear();
        const char16_t* contacts[] = {u"周经理", u"吴先生", u"郑女士", u"孙经理", u"钱会计"};
        for (const Named& s : suppliers)
            rows.push_back({s.code, s.name, QString::fromUtf16(contacts[dice.below(5)]),
                            QString(u"13"_qs + pad(dice.between(100000000, 999999999), 9))});
        db.insertRows(u"tbCsda"_qs, supplierCols, rows);

        const QList<SqlColumn> operatorCols = {text("f_zybm", 8), text("f_zymc", 20),
                                               text("f_Bmbm", 12)};
        db.createTable(u"tbzyda"_qs, operatorCols, {u"f_zybm"_qs});
        const QList<SqlColumn> permissionCols = {text("f_zybm", 8), text("f_hsdwh", 20)};
        db.createTable(u"tbzyfghsdw"_qs, permissionCols, {u"f_zybm"_qs, u"f_hsdwh"_qs});
        rows.clear();
        std::vector<QVariantList> permissions;
        for (const Operator& o : kOperators) {
            rows.push_back({o.code, o.name, o.department});
            for (const QString& unit : o.units)
                permissions.push_back({o.code, unit});
        }
        db.insertRows(u"tbzyda"_qs, operatorCols, rows);
        db.insertRows(u"tbzyfghsdw"_qs, permissionCols, permissions);

        // Print templates: the stock template of each query view under the inquiry's sort
        // name, and a row of another report that the screen must not list.
        const QList<SqlColumn> reportCols = {text("f_sortname", 40), text("f_Reportname", 40),
                                             memo("f_reportinfo")};
        db.createTable(u"tbReport"_qs, reportCols, {});
        std::vector<QVariantList> templates{{u"验收单"_qs, u"验收单"_qs, QString()}};
        for (const QString& view : report::TRMQueryTemplates::viewNames())
            templates.push_back({report::TRMQueryTemplates::sortName(), view,
                                 report::TRMQueryTemplates::templateText(view)});
        db.insertRows(u"tbReport"_qs, reportCols, templates);

        const QList<SqlColumn> paramCols = {text("f_Csmc", 40), text("f_Csz", 100),
                                            text("f_Csms", 60)};
        db.createTable(kSysParamTable, paramCols, {u"f_Csmc"_qs});
        rows.clear();
        for (const SysParam& p : systemParameters(monthList.first()))
            rows.push_back({QString::fromLatin1(p.key), p.value.isNull() ? u""_qs : p.value,
                            QString::fromUtf16(p.note)});
        db.insertRows(kSysParamTable, paramCols, rows);

        const QList<SqlColumn> infoCols = {text("f_Key", 20), text("f_Value", 40)};
        db.createTable(kInfoTable, infoCols, {u"f_Key"_qs});
        db.insertRows(kInfoTable, infoCols,
                      {{u"seed"_qs, QString::number(m_options.seed)},
                       {u"lines"_qs, QString::number(m_options.lines)},
                       {u"firstMonth"_qs, monthList.first()},
                       {u"lastMonth"_qs, monthList.last()}});

        // ---- monthly tables -------------------------------------------------------------
        const std::vector<std::pair<QString, int>> remarks = {{QString(), 50},
                                                              {u"月结"_qs, 20},
                                                              {u"含运费"_qs, 10},
                                                              {u"补开发票"_qs, 10},
                                                              {u"分批开票"_qs, 10}};
        qint64 linesLeft = m_options.lines;
        for (int m = 0; m < monthList.size(); ++m) {
            const QString period = monthList[m];
            const QDate monthStart = QDate::fromString(period + u"01"_qs, u"yyyyMMdd"_qs);
            const int lastDay =
                m == monthList.size() - 1 ? m_options.today.day() : monthStart.daysInMonth();
            const qint64 monthLines = linesLeft / (monthList.size() - m);
            linesLeft -= monthLines;

            const QString ygys = u"tb"_qs + period + u"_Ygys"_qs;
            const QString zb = u"tb"_qs + period + u"_Fptjdzb"_qs;
            const QString cb = u"tb"_qs + period + u"_Fptjdcb"_qs;
            db.createTable(ygys, kYgysColumns, {u"f_Djh"_qs, u"f_Dnxh"_qs});
            db.createTable(zb, kFptjdzbColumns, {u"f_Hsdwh"_qs, u"f_Djh"_qs});
            db.createTable(cb, kFptjdcbColumns, {u"f_Djh"_qs, u"f_Xh"_qs});

            struct Submission {
                QString number, unit, supplier, date;
                qint64 total = 0;
            };
            std::map<std::pair<int, int>, Submission> submissions; // (unit, supplier)
            std::vector<QVariantList> lines;
            lines.reserve(std::size_t(monthLines));
            int documentNo = 0;
            qint64 made = 0;
            while (made < monthLines) {
                const int unit = dice.below(int(kUnits.size()));
                const int supplier = dice.below(int(suppliers.size()));
                const Named& department = dice.pick(kDepartments);
                const QString type = pickPurchaseType(dice);
                const QDate gdrq = monthStart.addDays(dice.below(lastDay));
                const QDate rzrq = gdrq.addDays(-dice.below(15));
                const Operator& reconciler = kOperators[std::size_t(dice.pick(kReconcilers))];
                const QString djh = u"Y"_qs + period.mid(2) + pad(++documentNo, 5);
                Submission& sub = submissions[{unit, supplier}];
                if (sub.number.isEmpty()) {
                    sub.number = u"TJ"_qs + period + pad(int(submissions.size()), 4);
                    sub.unit = kUnits[std::size_t(unit)].code;
                    sub.supplier = suppliers[std::size_t(supplier)].code;
                }
                sub.date = qMax(sub.date, gdrq.toString(u"yyyyMMdd"_qs));
                const int count = int(qMin<qint64>(dice.between(1, 8), monthLines - made));
                for (int line = 1; line <= count; ++line) {
                    const Named& item = type == u"9" ? dice.pick(medicines) : dice.pick(items);
                    qint64 quantity = dice.between(1, 120);
                    if (type == u"8")
                        quantity = -quantity; // returns and supplements reduce the amounts
                    const qint64 price = dice.between(50, 30000);
                    const qint64 reconciled =
                        dice.chance(85) ? quantity : quantity * dice.between(1, 9) / 10;
                    const qint64 ygje = reconciled * price;
                    // Amount without 13% VAT, rounded half away from zero to the fen.
                    const qint64 ygws = (ygje * 100 + (ygje >= 0 ? 56 : -56)) / 113;
                    sub.total += ygje;
                    lines.push_back({kUnits[std::size_t(unit)].code, department.code, type,
                                     rzrq.toString(u"yyyyMMdd"_qs), djh, line, item.code,
                                     suppliers[std::size_t(supplier)].code, yuan(quantity * price),
                                     double(reconciled), yuan(ygws), yuan(ygje), sub.number,
                                     gdrq.toString(u"yyyyMMdd"_qs), reconciler.code,
                                     reconciler.name, dice.chance(95) ? u"1"_qs : u"0"_qs});
                }
                made += count;
            }
            db.insertRows(ygys, kYgysColumns, lines);

            std::vector<QVariantList> heads, invoices;
            for (const auto& [key, sub] : submissions) {
                int r = dice.below(100);
                QString remark;
                for (const auto& [text, weight] : remarks) {
                    if (r < weight) {
                        remark = text;
                        break;
                    }
                    r -= weight;
                }
                heads.push_back({sub.unit, sub.number, sub.supplier, sub.date, remark});
                const int parts = dice.between(1, 3);
                qint64 left = sub.total;
                for (int p = 1; p <= parts; ++p) {
                    const qint64 part = p == parts ? left : left / (parts - p + 1);
                    left -= part;
                    invoices.push_back(
                        {sub.number, p, pad(dice.between(10000000, 99999999), 8), yuan(part)});
                }
            }
            db.insertRows(zb, kFptjdzbColumns, heads);
            db.insertRows(cb, kFptjdcbColumns, invoices);
        }
        db.commit();
    } catch (...) {
        db.rollback();
        throw;
    }
}

} // namespace kestrane::host
