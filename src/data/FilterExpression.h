#pragma once
// Client-side filter texts, as the filter dialog composes them and as datasets evaluate them.
//
// Language (keywords in any letter case):
//   expr       := term { OR term }                  AND binds tighter than OR, as in SQL
//   term       := factor { AND factor }
//   factor     := NOT factor | '(' expr ')' | predicate
//   predicate  := operand cmp operand                cmp: = <> != > >= < <=
//               | operand [NOT] LIKE operand         '%' any run, '_' one character
//               | operand [NOT] BETWEEN operand AND operand
//               | operand IS [NOT] NULL
//   operand    := field | 'text' | number            a doubled '' inside text is one quote
//   field      := name | [name]                      names matched without regard to case;
//                                                    dots allowed (a.f_Bmbm); an unknown
//                                                    name is an error
// The constant comparison 1=1 (any literal against a literal) is folded while parsing.
//
// Comparison rules, the way a database compares:
//   - A null value never matches a comparison, LIKE or BETWEEN (not even <>, NOT LIKE or
//     NOT BETWEEN); NOT of such a test is still no match (three-valued logic). Only IS NULL
//     selects nulls.
//   - Number column (integer, float, boolean) against a literal: numerically. A text literal
//     must read as a number ('5', ' 12.50 '); any other text is a parse error, since no
//     database would compare 12.5 with 'abc'.
//   - Text column against a number literal: a cell whose text reads as a number compares
//     numerically; any other cell compares as text with the literal as written.
//   - Text against text: letter case ignored (the way the host's database collates by
//     default); = and <> compare whole values, < <= > >= compare by UTF-16 code units after
//     case folding, which orders "YYYYMMDD" dates and codes correctly. LIKE ignores case too.
//   - Date and date-time columns compare with text literals that read as dates
//     ("2005-01-31", "20050131", "2005-01-31 10:20:30"); other texts are a parse error.
//   - LIKE on a non-text column matches the value's plain text form (12.5 -> "12.5").
//   - Field against field compares the two values row by row with the same rules.
//
// Evaluation works on whole columns: every predicate produces bitsets of the rows where it is
// true and where it is false, text predicates are computed once per distinct text of the
// column's dictionary, and the final selection is the set of true rows. No cell is boxed.
#include "data/FieldDef.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

namespace kestrane {

class Table;

class FilterExpression {
public:
    struct Node;

    // The empty expression: every row passes.
    FilterExpression() = default;

    // Parses `text` against the field list its table will have. An empty or blank text gives
    // the empty expression. Throws kestrane::Error whose message names the character position
    // (1-based) and what was expected there, or the unknown field.
    static FilterExpression parse(const QString& text, const QList<FieldDef>& fields);

    bool isEmpty() const { return !m_root; }
    const QString& text() const { return m_text; }

    // Bitset of the rows of `table` (same fields as parsed against) that pass: bit r of word
    // r >> 6. Rows beyond rowCount() are 0.
    std::vector<uint64_t> evaluate(const Table& table) const;
    // Keeps, in order, the rows of `rows` that pass.
    void select(const Table& table, std::vector<uint32_t>& rows) const;

private:
    QString m_text;
    std::shared_ptr<const Node> m_root;
};

} // namespace kestrane
