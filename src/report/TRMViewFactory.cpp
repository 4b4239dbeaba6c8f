#include "report/TRMViewFactory.h"

#include "report/TRMBandView.h"
#include "report/TRMCalcMemoView.h"
#include "report/TRMCheckBoxView.h"
#include "report/TRMDiagonalView.h"
#include "report/TRMLineView.h"
#include "report/TRMMemoView.h"
#include "report/TRMMoneyView.h"
#include "report/TRMPictureView.h"
#include "report/TRMRegionView.h"
#include "report/TRMRichView.h"
#include "report/TRMRoundRectView.h"
#include "report/TRMShapeView.h"
#include "report/TRMSubReportView.h"

#include <QList>
#include <utility>

namespace kestrane::report {

namespace {
struct Entry {
    QString name;
    TRMViewFactory::Creator creator;
};

template <class T> TRMViewFactory::Creator creatorOf() {
    return [](QObject* parent) -> TRMView* { return new T(parent); };
}

QList<Entry>& registry() {
    static QList<Entry> list{
        {QStringLiteral("TRMRichView"), creatorOf<TRMRichView>()},
        {QStringLiteral("TRMCheckBoxView"), creatorOf<TRMCheckBoxView>()},
        {QStringLiteral("TRMShapeView"), creatorOf<TRMShapeView>()},
        {QStringLiteral("TRMDiagonalView"), creatorOf<TRMDiagonalView>()},
        {QStringLiteral("TRMRoundRectView"), creatorOf<TRMRoundRectView>()},
    };
    return list;
}

qsizetype find(const QString& name) {
    const QList<Entry>& list = registry();
    for (qsizetype i = 0; i < list.size(); ++i)
        if (list[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}
} // namespace

TRMView* TRMViewFactory::create(int kind, QObject* parent) {
    switch (kind) {
    case gtMemo:
        return new TRMMemoView(parent);
    case gtPicture:
        return new TRMPictureView(parent);
    case gtBand:
        return new TRMBandView(parent);
    case gtSubReport:
        return new TRMSubReportView(parent);
    case gtLine:
        return new TRMLineView(parent);
    case gtCalcMemo:
        return new TRMCalcMemoView(parent);
    case gtMoney:
        return new TRMMoneyView(parent);
    case gtRegion:
        return new TRMRegionView(parent);
    default:
        return nullptr;
    }
}

TRMView* TRMViewFactory::createAddIn(const QString& className, QObject* parent) {
    const qsizetype i = find(className);
    return i < 0 ? nullptr : registry()[i].creator(parent);
}

void TRMViewFactory::registerAddIn(const QString& className, Creator creator) {
    const qsizetype i = find(className);
    if (i >= 0)
        registry()[i].creator = std::move(creator);
    else
        registry().append(Entry{className, std::move(creator)});
}

void TRMViewFactory::unregisterAddIn(const QString& className) {
    const qsizetype i = find(className);
    if (i >= 0)
        registry().removeAt(i);
}

bool TRMViewFactory::isRegistered(const QString& className) {
    return find(className) >= 0;
}

QStringList TRMViewFactory::addInClasses() {
    QStringList names;
    for (const Entry& e : registry())
        names.append(e.name);
    return names;
}

} // namespace kestrane::report
