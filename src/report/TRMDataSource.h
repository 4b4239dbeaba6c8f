#pragma once
// A data source: the link between data-aware components and a dataset. Adapters and grids
// that are bound to a data source follow whatever dataset it currently points at.
#include "data/Dataset.h"

#include <QObject>
#include <QPointer>

namespace kestrane::report {

class TRMDataSource : public QObject {
    Q_OBJECT
public:
    explicit TRMDataSource(QObject* parent = nullptr) : QObject(parent) {}
    QPointer<kestrane::Dataset> DataSet;
};

} // namespace kestrane::report
