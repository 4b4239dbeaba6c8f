// The grid's dialogs: the column chooser, and the condition dialog in its query and filter
// modes.
#include "common/Error.h"
#include "conditions/ExpressionComposer.h"
#include "conditions/TFrmQuerySet.h"
#include "grid/TAdvDBGridEh.h"
#include "grid/TFrmChooseDBFields.h"
#include "ui/modal/MessageBox.h"
#include "ui/modal/ModalRunner.h"

namespace kestrane::grid {

using conditions::TFrmQuerySet;

void TAdvDBGridEh::ChooseColumns() {
    TFrmChooseDBFields chooser(this, this);
    ui::execDialog(chooser);
}

bool TAdvDBGridEh::QueryConditionDialog(QString& condition, const QString& title,
                                        const QString& aliasList, const QString& helpText,
                                        const QString& fieldMapText) {
    condition.clear();
    std::unique_ptr<TFrmQuerySet> dialog = TFrmQuerySet::CreateForQuery(
        this, title, aliasList, helpText, &QueryConditions, fieldMapText);
    dialog->setDataSet(m_dataset);
    if (ui::execDialog(*dialog) != QDialog::Accepted)
        return false;
    QueryConditions = dialog->Conditions();
    condition = dialog->SqlText();
    return true;
}

namespace {

// The rows a "部分不等于" condition excludes, as a list of inequalities: the rows matching
// the pattern are found with the pattern as a filter, and each of their values is excluded
// by name. Empty when no row matches.
QString excludedValues(Dataset& dataset, const QString& notLikeFilter, const QString& field) {
    dataset.setFiltered(false);
    dataset.setFilterText(notLikeFilter);
    dataset.setFiltered(true);
    QString terms;
    for (dataset.first(); !dataset.eof(); dataset.next()) {
        if (!terms.isEmpty())
            terms += QStringLiteral(" and ");
        terms += field + QStringLiteral("<>") + conditions::quoteLiteral(dataset.fieldText(field));
    }
    return terms.isEmpty() ? QString() : QStringLiteral(" and (") + terms + u')';
}

} // namespace

bool TAdvDBGridEh::FilterDialog(const QString& title, const QString& helpText, bool visibleOnly) {
    std::unique_ptr<TFrmQuerySet> dialog;
    try {
        dialog = TFrmQuerySet::CreateForFilter(this, title, QString(), helpText, &FilterConditions,
                                               visibleOnly);
        dialog->setDataSet(m_dataset);
        if (ui::execDialog(*dialog) != QDialog::Accepted)
            return false;
        FilterConditions = dialog->Conditions();
        if (!m_dataset)
            throw Error(QStringLiteral("没有可过滤的数据"));
        QString suffix;
        if (!dialog->NotLikeFilter().trimmed().isEmpty())
            suffix = excludedValues(*m_dataset, dialog->NotLikeFilter(), dialog->NotLikeField());
        m_dataset->setFiltered(false);
        m_dataset->setFilterText(dialog->SqlText() + suffix);
        m_dataset->setFiltered(true);
        return true;
    } catch (const std::exception& e) {
        ui::MessageBox(this, QString::fromUtf8(e.what()), ui::kCaptionError,
                       ui::MbOk | ui::MbIconError);
        return false;
    }
}

} // namespace kestrane::grid
