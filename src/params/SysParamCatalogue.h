#pragma once
// The description of every field of TsysmsgInfo, in declared order: its type, where its
// value comes from, the selector bit that asks for it, and what a load does when the
// parameter row is missing. The loader walks this one table instead of a branch per field.
#include "params/TsysmsgInfo.h"

#include <QString>
#include <span>
#include <variant>

namespace kestrane::params {

struct SysParamEntry {
    // Where the field's value comes from.
    enum class Source {
        HostFact,     // a host call of its own (bits 1 to 4)
        DatabaseKind, // copied from what the host reported at construction
        Input,        // set by the caller
        Parameter,    // a row of the system parameter table, key = field name
    };
    // What a missing parameter row does.
    enum class Missing {
        Fail,              // the load stops with `text`
        Default,           // the field receives `text`, converted like a found value
        FailForChainUnits, // required for unit types "02", "01" and "11", else empty
        OneForUnitType00,  // 1 for unit type "00", otherwise failure with `text`
    };
    // How a found value is stored beyond the plain conversion by type.
    enum class Rule {
        Plain,
        PrecisionFormat,   // an integer n becomes the display format "0." + n zeros
        EmptyGivesDefault, // an empty value gives the default
        BlankGivesDefault, // a value blank after trimming spaces gives the default
        OneOrZero,         // anything but "1" is stored as "0"
        OneOrZeroExactKey, // as OneOrZero; the key must match with exact letter case
        PairLeader,        // "mdzdysj": "1" also looks up its follower
        PairFollower,      // "mdzdyjj": filled only by its leader
    };
    using Member = std::variant<QString TsysmsgInfo::*, int32_t TsysmsgInfo::*, bool TsysmsgInfo::*,
                                double TsysmsgInfo::*>;

    const char* field;
    Member member;
    Source source;
    int bit; // -1 for fields no bit asks for
    Missing missing;
    const char16_t* text; // failure message (Fail kinds) or default value (Default)
    Rule rule;

    QString name() const { return QString::fromLatin1(field); }
    QString message() const { return QString::fromUtf16(text); }
};

// All fields of TsysmsgInfo, in declared order.
std::span<const SysParamEntry> sysParamCatalogue();
// The entry of the field named `name` (exact), or nullptr.
const SysParamEntry* sysParamEntry(const char* name);

// The order in which a load handles the requested parameter bits.
std::span<const int> sysParamLoadOrder();

// The field's current value as text (flags "1"/"0", numbers in decimal); for tests and
// diagnostics.
QString sysParamFieldText(const TsysmsgInfo& info, const SysParamEntry& entry);

} // namespace kestrane::params
