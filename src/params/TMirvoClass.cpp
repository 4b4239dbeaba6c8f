#include "params/TMirvoClass.h"

#include "common/DbDialect.h"
#include "common/Error.h"
#include "common/TextRoutines.h"
#include "kestrane/ICoorDisp.h"
#include "params/SysParamCatalogue.h"
#include "ui/modal/MessageBox.h"

#include <QApplication>
#include <QWidget>
#include <limits>

namespace kestrane::params {

namespace {

using Entry = SysParamEntry;

const QString kDbSqlServer = QStringLiteral("SQLSERVER");

// The keyword set of a database kind; kinds the product does not know choose none.
void chooseDialect(const QString& kind) {
    if (kind == QLatin1String("DB2"))
        SetDbDialect(uint8_t(DbKind::Db2));
    else if (kind == kDbSqlServer)
        SetDbDialect(uint8_t(DbKind::SqlServer));
    else if (kind == QLatin1String("ORACLE"))
        SetDbDialect(uint8_t(DbKind::Oracle));
}

// A host answer is a Boolean; any non-zero value is success.
bool isSuccess(const QVariant& result) {
    if (!result.isValid() || result.isNull())
        return false;
    if (result.typeId() == QMetaType::Bool)
        return result.toBool();
    bool ok = false;
    const qlonglong number = result.toLongLong(&ok);
    return ok ? number != 0 : result.toBool();
}

// ---- conversions of a parameter value ------------------------------------------------
// A NULL value converts to none of text, number and real: the load ends with the message.

QString toText(const QVariant& value) {
    if (!value.isValid() || value.isNull())
        throw Error(QStringLiteral("无法将空值（Null）转换为文本"));
    return value.toString();
}

int32_t toInt32(const QVariant& value) {
    return StrToInt(toText(value));
}

// True only for exactly "1"; NULL and anything else are false.
bool toFlag(const QVariant& value) {
    return value.isValid() && !value.isNull() && value.toString() == QLatin1String("1");
}

double toReal(const QVariant& value) {
    const QString text = toText(value);
    bool ok = false;
    const double number = text.trimmed().toDouble(&ok);
    if (!ok)
        throw Error(QStringLiteral("'%1' 不是有效的浮点数值").arg(text));
    return number;
}

void store(TsysmsgInfo& info, const Entry& entry, const QVariant& value) {
    struct Visitor {
        TsysmsgInfo& info;
        const QVariant& value;
        void operator()(QString TsysmsgInfo::*m) const { info.*m = toText(value); }
        void operator()(int32_t TsysmsgInfo::*m) const { info.*m = toInt32(value); }
        void operator()(bool TsysmsgInfo::*m) const { info.*m = toFlag(value); }
        void operator()(double TsysmsgInfo::*m) const { info.*m = toReal(value); }
    };
    std::visit(Visitor{info, value}, entry.member);
}

void storeDefault(TsysmsgInfo& info, const Entry& entry) {
    store(info, entry, QVariant(entry.message()));
}

QString& textMember(TsysmsgInfo& info, const Entry& entry) {
    return info.*std::get<QString TsysmsgInfo::*>(entry.member);
}

bool isChainUnit(const QString& dwlx) {
    return dwlx == QLatin1String("02") || dwlx == QLatin1String("01") ||
           dwlx == QLatin1String("11");
}

const Entry& entryFor(const char* name) {
    const Entry* entry = sysParamEntry(name);
    Q_ASSERT(entry);
    return *entry;
}

} // namespace

TMirvoClass::TMirvoClass(ICoorDisp* host, QWidget* ownerWindow)
    : m_host(host), m_ownerWindow(ownerWindow) {
    if (m_host)
        m_host->AddRef();
    if (!m_ownerWindow)
        m_ownerWindow = QApplication::activeWindow();
    try {
        if (!m_host)
            throw Error(QStringLiteral("没有主机服务"));
        QVariantList args;
        m_dbKind = m_host->Invoke(DispGetDatabaseType, args).toString();
        chooseDialect(m_dbKind);
    } catch (const std::exception&) {
        ui::MessageBox(m_ownerWindow, QStringLiteral("获取数据库类型失败!"), ui::kCaptionWarning,
                       ui::MbOk | ui::MbIconWarning);
        m_dbKind = kDbSqlServer;
    }
}

TMirvoClass::~TMirvoClass() {
    if (m_host)
        m_host->Release();
}

bool TMirvoClass::GetSysmsgInfo(TsysmsgInfo& info, const TSysParamSet& wanted, QString& errorText) {
    try {
        load(info, wanted);
        return true;
    } catch (const Error& e) {
        errorText = e.message();
    } catch (const std::exception& e) {
        errorText = QString::fromUtf8(e.what());
    } catch (...) {
        errorText = QStringLiteral("未知错误");
    }
    return false;
}

void TMirvoClass::load(TsysmsgInfo& info, const TSysParamSet& wanted) {
    info.dbType = m_dbKind;
    chooseDialect(m_dbKind);
    loadHostFacts(info, wanted);

    // The host facts alone need no parameter table; bit 2 is not one of them.
    TSysParamSet beyondFacts = wanted;
    for (int bit : {1, 3, 4})
        beyondFacts.exclude(bit);
    if (beyondFacts.isEmpty())
        return;

    QVariantList args{QVariant()};
    if (!callHost(DispGetSysParams, args))
        throw Error(QStringLiteral("取得系统参数时出错！"));
    m_table.loadPacket(args[0]);

    // The unit type decides the rules of other parameters, so every load reads it.
    loadParameter(info, entryFor("dwlx"));

    const auto catalogue = sysParamCatalogue();
    for (int bit : sysParamLoadOrder()) {
        if (!wanted.contains(bit))
            continue;
        for (const Entry& entry : catalogue)
            if (entry.bit == bit && entry.source == Entry::Source::Parameter)
                loadParameter(info, entry);
    }
}

void TMirvoClass::loadHostFacts(TsysmsgInfo& info, const TSysParamSet& wanted) {
    if (wanted.contains(1)) {
        QVariantList args{QVariant()};
        if (!callHost(DispGetCurrentYearMonth, args))
            throw Error(entryFor("curYearMonth").message());
        info.curYearMonth = args[0].toString();
    }
    if (wanted.contains(2)) {
        QVariantList args{QVariant()};
        if (!callHost(DispGetCurrentDateTime, args))
            throw Error(entryFor("curDateTime").message());
        info.curDateTime = args[0].toString();
    }
    if (wanted.contains(3)) {
        QVariantList args{QVariant()};
        if (!callHost(DispGetCurrentDate, args))
            throw Error(entryFor("curDate").message());
        info.curDate = args[0].toString().left(8);
    }
    if (wanted.contains(4) && !info.operCode.isEmpty()) {
        QVariantList args{QVariant(int32_t(1)), QVariant(info.operCode)};
        if (!callHost(DispGetBasicData, args))
            throw Error(entryFor("operName").message());
        m_table.loadPacket(args[1]);
        // An empty packet has no current row: its NULL name does not convert.
        info.operName = toText(m_table.fieldValue(u"f_zymc"));
    }
}

void TMirvoClass::loadParameter(TsysmsgInfo& info, const Entry& entry) {
    using Rule = Entry::Rule;
    using Missing = Entry::Missing;
    if (entry.rule == Rule::PairFollower)
        return;
    if (entry.rule == Rule::PairLeader) {
        loadPair(info);
        return;
    }

    if (!locate(entry.name(), entry.rule == Rule::OneOrZeroExactKey)) {
        switch (entry.missing) {
        case Missing::Fail:
            throw Error(entry.message());
        case Missing::Default:
            storeDefault(info, entry);
            return;
        case Missing::FailForChainUnits:
            if (isChainUnit(info.dwlx))
                throw Error(entry.message());
            textMember(info, entry).clear();
            return;
        case Missing::OneForUnitType00:
            if (info.dwlx != QLatin1String("00"))
                throw Error(entry.message());
            store(info, entry, QVariant(QStringLiteral("1")));
            return;
        }
        return;
    }

    const QVariant value = currentValue();
    const bool isNull = !value.isValid() || value.isNull();
    switch (entry.rule) {
    case Rule::PrecisionFormat:
        // The quantity precision n becomes the display format "0." followed by n zeros.
        textMember(info, entry) = QStringLiteral("0.") + PadNum(toInt32(value), true, 0);
        return;
    case Rule::EmptyGivesDefault:
        if (isNull || value.toString().isEmpty())
            storeDefault(info, entry);
        else
            store(info, entry, value);
        return;
    case Rule::BlankGivesDefault:
        if (isNull || value.toString().trimmed().isEmpty())
            storeDefault(info, entry);
        else
            store(info, entry, value);
        return;
    case Rule::OneOrZero:
    case Rule::OneOrZeroExactKey:
        store(info, entry, value);
        if (textMember(info, entry) != QLatin1String("1"))
            textMember(info, entry) = QStringLiteral("0");
        return;
    default:
        store(info, entry, value);
        return;
    }
}

// "mdzdysj" switches "mdzdyjj" on: the follower is looked at only when the leader holds "1".
void TMirvoClass::loadPair(TsysmsgInfo& info) {
    if (locate(QStringLiteral("mdzdysj"), false) && toFlag(currentValue())) {
        info.mdzdysj = true;
        info.mdzdyjj = locate(QStringLiteral("mdzdyjj"), false) && toFlag(currentValue());
    } else {
        info.mdzdysj = false;
        info.mdzdyjj = false;
    }
}

bool TMirvoClass::locate(const QString& key, bool exactCase) {
    return m_table.locate(u"f_Csmc", QVariant(key),
                          exactCase ? MemTable::LocateOptions()
                                    : MemTable::LocateOptions(MemTable::LocateCaseInsensitive));
}

QVariant TMirvoClass::currentValue() const {
    return m_table.fieldValue(u"f_csz");
}

bool TMirvoClass::callHost(int32_t dispId, QVariantList& args) {
    if (!m_host)
        throw Error(QStringLiteral("没有主机服务"));
    return isSuccess(m_host->Invoke(dispId, args));
}

} // namespace kestrane::params
