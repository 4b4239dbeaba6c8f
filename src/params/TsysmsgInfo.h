#pragma once
// The run-time facts and system parameters one load of the parameter loader delivers. Shared
// product code: it holds every parameter the product's modules use, not only those this
// module asks for. Each parameter field bears the name of its key in the host's system
// parameter table; which selector bit fills which field is in SysParamCatalogue.
#include <QString>
#include <cstdint>

namespace kestrane::params {

struct TsysmsgInfo {
    QString qyny;
    QString curYearMonth;
    QString dbType;
    QString curDateTime;
    QString curDate;
    QString operCode;
    QString operName;
    QString dwmc;
    QString sh;
    QString dz;
    QString lxdh;
    QString khh;
    QString zh;
    QString dwlx;
    QString dybm;
    QString hykls;
    QString sljd;
    bool lskz = false;
    bool jjkz = false;
    bool cskz = false;
    bool zrrkz = false;
    int32_t dddyhs = 0;
    int32_t sphsfs = 0;
    int32_t jjcbhsff = 0;
    int32_t sjcbhsff = 0;
    int32_t cbjzfs = 0;
    int32_t jsxtfs = 0;
    QString rqssj;
    int32_t fgckjb = 0;
    int32_t brddyhs = 0;
    QString brdhscfs;
    int32_t bcddyhs = 0;
    QString bcdhscfs;
    int32_t dbddyhs = 0;
    QString dbdhscfs;
    int32_t jgddyhs = 0;
    QString jgdhscfs;
    int32_t sgddyhs = 0;
    QString sgdhscfs;
    int32_t tbddyhs = 0;
    QString tbdhscfs;
    int32_t ykddyhs = 0;
    QString ykdhscfs;
    int32_t syddyhs = 0;
    QString sydhscfs;
    int32_t ysddyhs = 0;
    QString ysdhscfs;
    int32_t pdbdyhs = 0;
    QString pdbhscfs;
    QString psdahsfg;
    QString ysdahsfg;
    QString xsdahsfg;
    int32_t thddyhs = 0;
    int32_t tjddyhs = 0;
    int32_t ptfpdyhs = 0;
    int32_t spfzflx = 0;
    bool kpyxcfsp = false;
    QString djfgfs;
    int32_t psxzsl = 0;
    int32_t xsxzsl = 0;
    int32_t jhxzsl = 0;
    QString thcpbxxdythqd;
    QString zjdyfs;
    QString ddysfs;
    QString hsdwh;
    QString dpckbm;
    QString dpjfs;
    QString pslssj;
    QString thjjclfs;
    QString sjkbbh;
    bool psysjscdjd = false;
    QString ysjscdjdbm;
    int32_t ddyszzfs = 0;
    int32_t ddyxrqqy = 0;
    int32_t ysfs = 0;
    QString dddysjj;
    QString cpzkspyzbkz;
    QString jzscltjbc;
    QString jzsclyxjjsxzpzdp;
    QString ysqr;
    QString khzqqy;
    QString zkhwlqy;
    int32_t hykxc = 0;
    int32_t xsfkz = 0;
    QString kckz;
    QString hyklwms;
    QString yckqzj;
    bool mdzdyjj = false;
    bool mdzdysj = false;
    bool dchy = false;
    QString xstbqyrq;
    bool ddbrkz = false;
    QString ypphqy;
    QString zmqy;
    QString djphmrz;
    QString ypphchsclfs;
    QString ypthphkz;
    QString sxcycbft;
    QString sxqmpkc;
    double xpdjmrsl = 0.0;
    QString zbbm;
    bool dztqy = false;
    bool ddzxqy = false;
    int32_t psfpbdyhs = 0;
    bool jjbkzzxzbjj = false;
    bool fmlspyjzdsy = false;
    int32_t sxpdsyflfs = 0;
    int32_t sxpdsyfzfl = 0;
    QString ddzxyslxsl;
    bool ddsczb = false;
    bool pdyxcfsp = false;
    bool ysxzpssp = false;
    bool jekzsptj = false;
    bool mdqyrjxstb = false;
    bool jzsjzdtj = false;
    QString tyspddcsf;
    int32_t jhddyhs = 0;
    QString ycspl;
    QString hykcszt;
    QString ddzxsqdtqhb;
    QString typdrfbmjz;
    int32_t hykkhxe = 0;
    QString dcjdbzrck;
};

} // namespace kestrane::params
