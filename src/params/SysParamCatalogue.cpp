#include "params/SysParamCatalogue.h"

#include <array>
#include <cstring>

namespace kestrane::params {

namespace {

using I = TsysmsgInfo;
using Source = SysParamEntry::Source;
using Missing = SysParamEntry::Missing;
using Rule = SysParamEntry::Rule;

// clang-format off
const SysParamEntry kCatalogue[] = {
    {"qyny", &I::qyny, Source::Parameter, 0, Missing::Fail, u"没有可利用的启用年月！", Rule::Plain},
    {"curYearMonth", &I::curYearMonth, Source::HostFact, 1, Missing::Fail, u"取得当前年月时出错！", Rule::Plain},
    {"dbType", &I::dbType, Source::DatabaseKind, -1, Missing::Default, u"", Rule::Plain},
    {"curDateTime", &I::curDateTime, Source::HostFact, 2, Missing::Fail, u"取得当前日期时间时出错！", Rule::Plain},
    {"curDate", &I::curDate, Source::HostFact, 3, Missing::Fail, u"取得当前日期时出错！", Rule::Plain},
    {"operCode", &I::operCode, Source::Input, -1, Missing::Default, u"", Rule::Plain},
    {"operName", &I::operName, Source::HostFact, 4, Missing::Fail, u"取得制单人名称时出错！！", Rule::Plain},
    {"dwmc", &I::dwmc, Source::Parameter, 5, Missing::Fail, u"没有可利用的单位名称！", Rule::Plain},
    {"sh", &I::sh, Source::Parameter, 6, Missing::Fail, u"没有可利用的税号！", Rule::Plain},
    {"dz", &I::dz, Source::Parameter, 7, Missing::Fail, u"没有可利用的单位地址！", Rule::Plain},
    {"lxdh", &I::lxdh, Source::Parameter, 8, Missing::Fail, u"没有可利用的联系电话！", Rule::Plain},
    {"khh", &I::khh, Source::Parameter, 9, Missing::Fail, u"没有可利用的开户行！", Rule::Plain},
    {"zh", &I::zh, Source::Parameter, 10, Missing::Fail, u"没有可利用的账号！", Rule::Plain},
    {"dwlx", &I::dwlx, Source::Parameter, -1, Missing::Fail, u"没有可利用的单位类型！", Rule::Plain},
    {"dybm", &I::dybm, Source::Parameter, 13, Missing::FailForChainUnits, u"没有可利用的连锁编码及前台销售柜组编码！", Rule::Plain},
    {"hykls", &I::hykls, Source::Parameter, 70, Missing::Fail, u"没有可利用的会员卡连锁！", Rule::Plain},
    {"sljd", &I::sljd, Source::Parameter, 14, Missing::Fail, u"没有可利用的数量精度！", Rule::PrecisionFormat},
    {"lskz", &I::lskz, Source::Parameter, 15, Missing::Fail, u"没有可利用的连锁控制！", Rule::Plain},
    {"jjkz", &I::jjkz, Source::Parameter, 16, Missing::Default, u"0", Rule::Plain},
    {"cskz", &I::cskz, Source::Parameter, 17, Missing::Fail, u"没有可利用的厂商控制！", Rule::Plain},
    {"zrrkz", &I::zrrkz, Source::Parameter, 25, Missing::Fail, u"没有可利用的责任人控制！", Rule::Plain},
    {"dddyhs", &I::dddyhs, Source::Parameter, 26, Missing::Fail, u"没有可利用的订货单打印行数！", Rule::Plain},
    {"sphsfs", &I::sphsfs, Source::Parameter, 19, Missing::OneForUnitType00, u"没有可利用的商品核算方式！", Rule::Plain},
    {"jjcbhsff", &I::jjcbhsff, Source::Parameter, 20, Missing::Fail, u"没有可利用的进价成本核算方法！", Rule::Plain},
    {"sjcbhsff", &I::sjcbhsff, Source::Parameter, 21, Missing::Fail, u"没有可利用的售价成本核算方法！", Rule::Plain},
    {"cbjzfs", &I::cbjzfs, Source::Parameter, 23, Missing::Fail, u"没有可利用的成本结转方式！", Rule::Plain},
    {"jsxtfs", &I::jsxtfs, Source::Parameter, 61, Missing::Fail, u"没有可利用的结算系统方式！", Rule::Plain},
    {"rqssj", &I::rqssj, Source::Parameter, 39, Missing::Fail, u"取得日起始时间时出错！", Rule::Plain},
    {"fgckjb", &I::fgckjb, Source::Parameter, 18, Missing::Fail, u"没有可利用的分割仓库级别！", Rule::Plain},
    {"brddyhs", &I::brddyhs, Source::Parameter, 27, Missing::Fail, u"没有可利用的拨入单打印行数！", Rule::Plain},
    {"brdhscfs", &I::brdhscfs, Source::Parameter, 28, Missing::Fail, u"没有可利用的拨入单号生成方式！", Rule::Plain},
    {"bcddyhs", &I::bcddyhs, Source::Parameter, 29, Missing::Fail, u"没有可利用的拨出单打印行数！", Rule::Plain},
    {"bcdhscfs", &I::bcdhscfs, Source::Parameter, 30, Missing::Fail, u"没有可利用的拨出单号生成方式！", Rule::Plain},
    {"dbddyhs", &I::dbddyhs, Source::Parameter, 33, Missing::Fail, u"没有可利用的调拨单打印行数！", Rule::Plain},
    {"dbdhscfs", &I::dbdhscfs, Source::Parameter, 34, Missing::Fail, u"没有可利用的调拨单号生成方式！", Rule::Plain},
    {"jgddyhs", &I::jgddyhs, Source::Parameter, 35, Missing::Fail, u"没有可利用的加工单打印行数！", Rule::Plain},
    {"jgdhscfs", &I::jgdhscfs, Source::Parameter, 36, Missing::Fail, u"没有可利用的加工单号生成方式！", Rule::Plain},
    {"sgddyhs", &I::sgddyhs, Source::Parameter, 37, Missing::Fail, u"没有可利用的上柜（直配）单打印行数！", Rule::Plain},
    {"sgdhscfs", &I::sgdhscfs, Source::Parameter, 38, Missing::Fail, u"没有可利用的上柜（直配）单号生成方式！", Rule::Plain},
    {"tbddyhs", &I::tbddyhs, Source::Parameter, 42, Missing::Fail, u"没有可利用的退补单打印行数！", Rule::Plain},
    {"tbdhscfs", &I::tbdhscfs, Source::Parameter, 43, Missing::Fail, u"没有可利用的退补单号生成方式！", Rule::Plain},
    {"ykddyhs", &I::ykddyhs, Source::Parameter, 44, Missing::Fail, u"没有可利用的移库单打印行数！", Rule::Plain},
    {"ykdhscfs", &I::ykdhscfs, Source::Parameter, 45, Missing::Fail, u"没有可利用的移库单号生成方式！", Rule::Plain},
    {"syddyhs", &I::syddyhs, Source::Parameter, 46, Missing::Fail, u"没有可利用的损溢单打印行数！", Rule::Plain},
    {"sydhscfs", &I::sydhscfs, Source::Parameter, 47, Missing::Fail, u"没有可利用的损溢单号生成方式！", Rule::Plain},
    {"ysddyhs", &I::ysddyhs, Source::Parameter, 48, Missing::Fail, u"没有可利用的验收单打印行数！", Rule::Plain},
    {"ysdhscfs", &I::ysdhscfs, Source::Parameter, 49, Missing::Fail, u"没有可利用的验收单号生成方式！", Rule::Plain},
    {"pdbdyhs", &I::pdbdyhs, Source::Parameter, 54, Missing::Fail, u"没有可利用的盘点单打印行数！", Rule::Plain},
    {"pdbhscfs", &I::pdbhscfs, Source::Parameter, 53, Missing::Fail, u"没有可利用的盘点单号生成方式！", Rule::Plain},
    {"psdahsfg", &I::psdahsfg, Source::Parameter, 50, Missing::Default, u"1", Rule::Plain},
    {"ysdahsfg", &I::ysdahsfg, Source::Parameter, 51, Missing::Default, u"1", Rule::Plain},
    {"xsdahsfg", &I::xsdahsfg, Source::Parameter, 52, Missing::Default, u"1", Rule::Plain},
    {"thddyhs", &I::thddyhs, Source::Parameter, 55, Missing::Fail, u"没有可利用的提货单打印行数！", Rule::Plain},
    {"tjddyhs", &I::tjddyhs, Source::Parameter, 60, Missing::Fail, u"没有可利用的调价单打印行数！", Rule::Plain},
    {"ptfpdyhs", &I::ptfpdyhs, Source::Parameter, 56, Missing::Fail, u"没有可利用的普通发票打印行数！", Rule::Plain},
    {"spfzflx", &I::spfzflx, Source::Parameter, 75, Missing::Default, u"0", Rule::EmptyGivesDefault},
    {"kpyxcfsp", &I::kpyxcfsp, Source::Parameter, 73, Missing::Default, u"1", Rule::Plain},
    {"djfgfs", &I::djfgfs, Source::Parameter, 76, Missing::Default, u"0", Rule::Plain},
    {"psxzsl", &I::psxzsl, Source::Parameter, 77, Missing::Default, u"100000", Rule::BlankGivesDefault},
    {"xsxzsl", &I::xsxzsl, Source::Parameter, 78, Missing::Default, u"100000", Rule::BlankGivesDefault},
    {"jhxzsl", &I::jhxzsl, Source::Parameter, 79, Missing::Default, u"100000", Rule::BlankGivesDefault},
    {"thcpbxxdythqd", &I::thcpbxxdythqd, Source::Parameter, 57, Missing::Fail, u"没有可利用的退货出票必须先打印退货清单！", Rule::Plain},
    {"zjdyfs", &I::zjdyfs, Source::Parameter, 58, Missing::Fail, u"没有可利用的整件打印方式！", Rule::Plain},
    {"ddysfs", &I::ddysfs, Source::Parameter, 59, Missing::Fail, u"没有可利用的订单验收方式！", Rule::Plain},
    {"hsdwh", &I::hsdwh, Source::Parameter, 63, Missing::Fail, u"没有可利用的核算单位号！", Rule::Plain},
    {"dpckbm", &I::dpckbm, Source::Parameter, 64, Missing::Fail, u"没有可利用的代配仓库编码！", Rule::Plain},
    {"dpjfs", &I::dpjfs, Source::Parameter, 65, Missing::Fail, u"没有可利用的代配价方式！", Rule::Plain},
    {"pslssj", &I::pslssj, Source::Parameter, 62, Missing::Default, u"0", Rule::Plain},
    {"thjjclfs", &I::thjjclfs, Source::Parameter, 66, Missing::Fail, u"没有可利用的退货进价处理方式！", Rule::Plain},
    {"sjkbbh", &I::sjkbbh, Source::Parameter, 71, Missing::Fail, u"没有可利用的数据库版本号！", Rule::Plain},
    {"psysjscdjd", &I::psysjscdjd, Source::Parameter, 72, Missing::Fail, u"没有可利用的配送验收价生成定价单！", Rule::Plain},
    {"ysjscdjdbm", &I::ysjscdjdbm, Source::Parameter, 74, Missing::Fail, u"没有可利用的验收价生成定价单部门！", Rule::Plain},
    {"ddyszzfs", &I::ddyszzfs, Source::Parameter, 67, Missing::Fail, u"没有可利用的订单验收终止方式！", Rule::Plain},
    {"ddyxrqqy", &I::ddyxrqqy, Source::Parameter, 68, Missing::Fail, u"没有可利用的订单有效日期启用！", Rule::Plain},
    {"ysfs", &I::ysfs, Source::Parameter, 69, Missing::Fail, u"没有可利用的验收方式！", Rule::Plain},
    {"dddysjj", &I::dddysjj, Source::Parameter, 80, Missing::Default, u"0", Rule::Plain},
    {"cpzkspyzbkz", &I::cpzkspyzbkz, Source::Parameter, 31, Missing::Default, u"0", Rule::Plain},
    {"jzscltjbc", &I::jzscltjbc, Source::Parameter, 40, Missing::Default, u"0", Rule::Plain},
    {"jzsclyxjjsxzpzdp", &I::jzsclyxjjsxzpzdp, Source::Parameter, 41, Missing::Default, u"0", Rule::Plain},
    {"ysqr", &I::ysqr, Source::Parameter, 11, Missing::Fail, u"没有可利用的验收确认！", Rule::OneOrZero},
    {"khzqqy", &I::khzqqy, Source::Parameter, 81, Missing::Fail, u"没有可利用的客户账期启用！", Rule::Plain},
    {"zkhwlqy", &I::zkhwlqy, Source::Parameter, 82, Missing::Fail, u"没有可利用的总客户往来启用！", Rule::Plain},
    {"hykxc", &I::hykxc, Source::Parameter, 83, Missing::Default, u"0", Rule::EmptyGivesDefault},
    {"xsfkz", &I::xsfkz, Source::Parameter, 84, Missing::Fail, u"没有可利用的小数分控制！", Rule::Plain},
    {"kckz", &I::kckz, Source::Parameter, 85, Missing::Default, u"1", Rule::Plain},
    {"hyklwms", &I::hyklwms, Source::Parameter, 86, Missing::Fail, u"没有可利用的会员卡联网模式！", Rule::Plain},
    {"yckqzj", &I::yckqzj, Source::Parameter, 87, Missing::Fail, u"没有可利用的远程卡前置机！", Rule::Plain},
    {"mdzdyjj", &I::mdzdyjj, Source::Parameter, 89, Missing::Default, u"0", Rule::PairFollower},
    {"mdzdysj", &I::mdzdysj, Source::Parameter, 89, Missing::Default, u"0", Rule::PairLeader},
    {"dchy", &I::dchy, Source::Parameter, 90, Missing::Default, u"0", Rule::Plain},
    {"xstbqyrq", &I::xstbqyrq, Source::Parameter, 91, Missing::Default, u"", Rule::Plain},
    {"ddbrkz", &I::ddbrkz, Source::Parameter, 92, Missing::Default, u"0", Rule::Plain},
    {"ypphqy", &I::ypphqy, Source::Parameter, 93, Missing::Default, u"0", Rule::Plain},
    {"zmqy", &I::zmqy, Source::Parameter, 94, Missing::Default, u"0", Rule::Plain},
    {"djphmrz", &I::djphmrz, Source::Parameter, 95, Missing::Default, u"0", Rule::Plain},
    {"ypphchsclfs", &I::ypphchsclfs, Source::Parameter, 96, Missing::Default, u"0", Rule::Plain},
    {"ypthphkz", &I::ypthphkz, Source::Parameter, 22, Missing::Default, u"1", Rule::OneOrZeroExactKey},
    {"sxcycbft", &I::sxcycbft, Source::Parameter, 97, Missing::Default, u"0", Rule::Plain},
    {"sxqmpkc", &I::sxqmpkc, Source::Parameter, 98, Missing::Default, u"0", Rule::Plain},
    {"xpdjmrsl", &I::xpdjmrsl, Source::Parameter, 99, Missing::Default, u"17", Rule::Plain},
    {"zbbm", &I::zbbm, Source::Parameter, 100, Missing::Default, u"", Rule::Plain},
    {"dztqy", &I::dztqy, Source::Parameter, 101, Missing::Default, u"0", Rule::Plain},
    {"ddzxqy", &I::ddzxqy, Source::Parameter, 102, Missing::Default, u"0", Rule::Plain},
    {"psfpbdyhs", &I::psfpbdyhs, Source::Parameter, 103, Missing::Default, u"25", Rule::Plain},
    {"jjbkzzxzbjj", &I::jjbkzzxzbjj, Source::Parameter, 104, Missing::Default, u"0", Rule::Plain},
    {"fmlspyjzdsy", &I::fmlspyjzdsy, Source::Parameter, 105, Missing::Default, u"0", Rule::Plain},
    {"sxpdsyflfs", &I::sxpdsyflfs, Source::Parameter, 106, Missing::Default, u"0", Rule::Plain},
    {"sxpdsyfzfl", &I::sxpdsyfzfl, Source::Parameter, 107, Missing::Default, u"0", Rule::Plain},
    {"ddzxyslxsl", &I::ddzxyslxsl, Source::Parameter, 108, Missing::Default, u"0", Rule::Plain},
    {"ddsczb", &I::ddsczb, Source::Parameter, 109, Missing::Default, u"0", Rule::Plain},
    {"pdyxcfsp", &I::pdyxcfsp, Source::Parameter, 110, Missing::Default, u"1", Rule::Plain},
    {"ysxzpssp", &I::ysxzpssp, Source::Parameter, 32, Missing::Default, u"0", Rule::Plain},
    {"jekzsptj", &I::jekzsptj, Source::Parameter, 111, Missing::Default, u"0", Rule::Plain},
    {"mdqyrjxstb", &I::mdqyrjxstb, Source::Parameter, 112, Missing::Default, u"0", Rule::Plain},
    {"jzsjzdtj", &I::jzsjzdtj, Source::Parameter, 113, Missing::Default, u"0", Rule::Plain},
    {"tyspddcsf", &I::tyspddcsf, Source::Parameter, 114, Missing::Default, u"0", Rule::Plain},
    {"jhddyhs", &I::jhddyhs, Source::Parameter, 115, Missing::Fail, u"没有可利用的拣货单打印行数！", Rule::Plain},
    {"ycspl", &I::ycspl, Source::Parameter, 116, Missing::Default, u"", Rule::Plain},
    {"hykcszt", &I::hykcszt, Source::Parameter, 117, Missing::Default, u"0", Rule::Plain},
    {"ddzxsqdtqhb", &I::ddzxsqdtqhb, Source::Parameter, 118, Missing::Default, u"1", Rule::Plain},
    {"typdrfbmjz", &I::typdrfbmjz, Source::Parameter, 119, Missing::Default, u"0", Rule::Plain},
    {"hykkhxe", &I::hykkhxe, Source::Parameter, 121, Missing::Default, u"0", Rule::Plain},
    {"dcjdbzrck", &I::dcjdbzrck, Source::Parameter, 122, Missing::Default, u"", Rule::Plain},};
// clang-format on

constexpr int kLoadOrder[] = {
    0,   39, 13,  5,   74,  71,  70,  76,  11,  22,  6,   7,   18,  19,  61,  62,  20,
    21,  77, 78,  79,  23,  8,   9,   10,  14,  16,  15,  73,  31,  40,  41,  72,  17,
    25,  26, 75,  27,  28,  80,  50,  51,  52,  29,  60,  30,  37,  38,  44,  45,  33,
    34,  35, 36,  42,  43,  46,  47,  48,  49,  54,  53,  55,  56,  57,  58,  59,  63,
    64,  65, 66,  67,  68,  69,  81,  82,  83,  84,  85,  86,  87,  89,  90,  91,  92,
    93,  94, 95,  96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109,
    110, 32, 111, 112, 113, 114, 115, 116, 117, 118, 119, 121, 122,
};

} // namespace

std::span<const SysParamEntry> sysParamCatalogue() {
    return kCatalogue;
}

const SysParamEntry* sysParamEntry(const char* name) {
    for (const SysParamEntry& entry : kCatalogue)
        if (std::strcmp(entry.field, name) == 0)
            return &entry;
    return nullptr;
}

std::span<const int> sysParamLoadOrder() {
    return kLoadOrder;
}

QString sysParamFieldText(const TsysmsgInfo& info, const SysParamEntry& entry) {
    struct Visitor {
        const TsysmsgInfo& info;
        QString operator()(QString I::*m) const { return info.*m; }
        QString operator()(int32_t I::*m) const { return QString::number(info.*m); }
        QString operator()(bool I::*m) const {
            return info.*m ? QStringLiteral("1") : QStringLiteral("0");
        }
        QString operator()(double I::*m) const { return QString::number(info.*m, 'g', 17); }
    };
    return std::visit(Visitor{info}, entry.member);
}

} // namespace kestrane::params
