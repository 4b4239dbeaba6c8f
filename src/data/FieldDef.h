#pragma once
// The declaration of one field (column) of a table or dataset: what the grid shows as its
// title, how the condition dialog decides whether a value is quoted, what the report engine
// uses to format it. Field lists are plain QList<FieldDef>, in declared order.
#include <QList>
#include <QString>
#include <QStringView>
#include <cstdint>

namespace kestrane {

// Storage kind of a field. Amounts are Float (double precision). Dates travel through the
// product as "YYYYMMDD" text and are then String fields; Date and DateTime exist for packets
// that carry real date values.
enum class FieldType : uint8_t {
    String = 1,  // short text; `size` is the declared maximum length
    Integer = 2, // signed 64-bit whole number (32-bit fields of the host fit)
    Float = 3,   // double; also used for currency-like amounts
    Boolean = 4,
    Date = 5,     // calendar day (stored as Julian day number)
    DateTime = 6, // date and time to the millisecond, no time zone (stored as ms since 1970)
    Memo = 7,     // long text
};

// True for String and Memo: the fields whose values the condition dialog quotes.
bool isTextType(FieldType type);
// True for Integer, Float and Boolean.
bool isNumericType(FieldType type);
// Short lower-case name ("string", "integer", ...) for messages and diagnostics.
QString fieldTypeName(FieldType type);

struct FieldDef {
    FieldDef() = default;
    // Positional form, so that lists of definitions read like the catalogues they copy:
    // {"f_Gjje", "购进金额", FieldType::Float, 0, true, 0, "####0.00"}.
    FieldDef(QString name, QString displayLabel = {}, FieldType type = FieldType::String,
             int size = 0, bool visible = true, int tag = 0, QString displayFormat = {},
             bool calculated = false)
        : name(std::move(name)), displayLabel(std::move(displayLabel)), type(type), size(size),
          visible(visible), tag(tag), displayFormat(std::move(displayFormat)),
          calculated(calculated) {}
    FieldDef(const char* name, const char* displayLabel = "", FieldType type = FieldType::String,
             int size = 0, bool visible = true, int tag = 0, const char* displayFormat = "",
             bool calculated = false)
        : FieldDef(QString::fromUtf8(name), QString::fromUtf8(displayLabel), type, size, visible,
                   tag, QString::fromUtf8(displayFormat), calculated) {}

    QString name;         // matched without regard to letter case everywhere
    QString displayLabel; // grid title / condition caption; empty means "use name"
    FieldType type = FieldType::String;
    int size = 0; // declared length of text fields (0 when not applicable)
    bool visible = true;
    int tag = 0;           // the field's `Tag`: selects a table alias in the condition dialog
    QString displayFormat; // e.g. "####0.00"; empty for the default form
    bool calculated = false;

    // displayLabel, or name when there is no label.
    QString displayName() const { return displayLabel.isEmpty() ? name : displayLabel; }
    bool isString() const { return isTextType(type); }

    friend bool operator==(const FieldDef&, const FieldDef&) = default;
};

// Index of the first field named `name` (letter case ignored), or -1.
int fieldIndexOf(const QList<FieldDef>& fields, QStringView name);

} // namespace kestrane
