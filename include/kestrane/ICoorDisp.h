#pragma once
// The host's automation object, as the module sees it. Calls are late-bound by dispatch
// identifier with positional arguments; every returned value comes back through a
// by-reference argument, which is an in/out slot of the argument list. A call the host
// refuses (as opposed to answering false) throws DispatchError.
#include <QList>
#include <QVariant>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace kestrane {

// Dispatch identifiers of the host operations the module calls.
enum DispId : int32_t {
    DispQueryData = 3,           // (sql text, by-ref) -> recordset
    DispGetCurrentYearMonth = 4, // (by-ref) -> text
    DispGetCurrentDate = 5,      // (by-ref) -> text, first 8 characters YYYYMMDD
    DispGetCurrentDateTime = 6,  // (by-ref) -> text, characters 9..14 HHMMSS
    DispGetBasicData = 10,       // (kind int32, by-ref key in / data packet out)
    DispGetDatabaseType = 20,    // () -> result is the kind text itself
    DispGetSysParams = 100,      // (by-ref) -> data packet of f_Csmc / f_Csz rows
    DispOpenQuery = 0x60020000,  // (sql text, by-ref) -> data packet
};

// A refusal of the call itself by the host object.
class DispatchError : public std::runtime_error {
public:
    explicit DispatchError(const std::string& what) : std::runtime_error(what) {}
};

class ICoorDisp {
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    // Runs the operation. `args` holds the arguments in declaration order; the by-reference
    // ones are written in place. The result is a Boolean for every operation but
    // GetDatabaseType, whose result is the database kind text.
    virtual QVariant Invoke(int32_t dispId, QVariantList& args) = 0;

protected:
    virtual ~ICoorDisp() = default;
};

} // namespace kestrane
