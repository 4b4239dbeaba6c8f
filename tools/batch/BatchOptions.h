#pragma once
// The batch driver's command line: which view, which dates, which conditions and filter rows,
// and the database the substitute host runs on.
#include "host/HostOptions.h"

#include <QDate>
#include <QList>
#include <QString>

namespace kestrane::batch {

// One row of the condition dialog: field label, operator word, value, and the relation word
// ("并且" or "或者") that joins it to the next row.
struct ConditionInput {
    QString label;
    QString op;
    QString value;
    QString relation;
};

struct BatchOptions {
    host::HostOptions host;
    QString view = QStringLiteral("明细");
    QDate from; // invalid: the screen's default (first of the month)
    QDate to;   // invalid: the screen's default (today)
    QList<ConditionInput> conditions;
    QList<ConditionInput> filter;
    int rows = 10;
    QString screenshot; // PNG of the screen after the query, when not empty

    // Parses the arguments (argv[0] included). On a usage error answers false with the text;
    // --help prints and exits.
    static bool parse(const QStringList& arguments, BatchOptions& options, QString& error);
};

} // namespace kestrane::batch
