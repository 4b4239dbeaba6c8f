#pragma once
// Binding of a design to data at the start of preparation, and the lookup of components and
// fields by name that it and the expressions use:
//   - field references: a field optionally preceded by up to three dotted component names
//     ("f_Gjje", cdsPrint."f_Gjje", Form.cdsPrint."f_Gjje", Form.Panel.cdsPrint."f_Gjje");
//   - components: forms among the application's top-level widgets (the hidden host form
//     "RMDialogForm" among them), datasets and adapters as named children of a form, plain
//     names on the report's owning form;
//   - binding a page: memos of one field reference, data bands to their adapters, headers,
//     footers and groups to their data bands, calculated memos' filters.
#include "report/TRMDataDictionary.h"

#include <QString>

class QObject;
class QWidget;

namespace kestrane {
class Dataset;
}

namespace kestrane::report {

class TRMReport;
class TRMPage;
class TRMDataset;
class TRMBandView;
class TRMView;

class TRMDataBinding {
public:
    // Resolves a field reference; `defaultDataset` serves references without components.
    // False when the text is not a reference or names no existing field. Throws
    // kestrane::Error "Missing " + reference when looking up a component fails.
    static bool resolveField(const TRMReport& report, const QString& reference,
                             kestrane::Dataset* defaultDataset, TRMDataDictionary::FieldRef& ref);

    // A component by plain or dotted name ("cdsPrint", "FrmKestrane.RMDBDataSet1").
    static QObject* findComponent(const TRMReport& report, const QString& name);
    // The dataset a component stands for: a dataset itself, an adapter's, a data source's.
    static kestrane::Dataset* datasetOf(QObject* component);

    // The engine's hidden host form "RMDialogForm", made on first use.
    static QWidget* dialogForm();

    // The band of the page whose vertical extent holds the view (horizontal for cross
    // bands); nullptr for views in no band.
    static TRMBandView* bandOf(const TRMPage& page, const TRMView& view);

    // Binds a design page (see above). Throws kestrane::Error for a filter that does not
    // compile.
    static void bindPage(TRMReport& report, TRMPage& page);
};

} // namespace kestrane::report
