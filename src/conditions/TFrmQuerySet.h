#pragma once
// The condition dialog: the user picks a field, an operator word and a value, adds the row,
// joins rows with AND or OR, modifies, deletes or clears rows and confirms. The grid opens it
// in query mode (the expression goes into the next query's SQL) or in filter mode (the
// expression filters the rows already shown).
#include "conditions/ConditionRow.h"
#include "data/Dataset.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QTreeWidgetItem;

namespace kestrane::ui {
class TEdit;
class TFlatButton;
class TFlatComboBox;
class TGroupBox;
class TLabel;
class TListView;
class TMemo;
class TShape;
} // namespace kestrane::ui

namespace kestrane::conditions {

class TFrmQuerySet : public QDialog {
    Q_OBJECT
public:
    // Both throw kestrane::Error when the colour settings cannot be read; the dialog is then
    // not made.
    static std::unique_ptr<TFrmQuerySet>
    CreateForQuery(QWidget* parent, const QString& title, const QString& aliasList,
                   const QString& helpText, const ConditionList* rows, const QString& fieldMapText);
    static std::unique_ptr<TFrmQuerySet>
    CreateForFilter(QWidget* parent, const QString& title, const QString& aliasList,
                    const QString& helpText, const ConditionList* rows, bool visibleOnly);

    // The dataset whose fields are offered; set before the dialog is shown.
    void setDataSet(Dataset* dataSet) { m_dataSet = dataSet; }
    Dataset* DataSet() const { return m_dataSet; }

    // The condition list as it stands in the list view.
    ConditionList Conditions() const;
    void setConditions(const ConditionList& rows);

    const QString& AliasList() const { return m_aliasList; }
    const QStringList& FieldMap() const { return m_fieldMap; }
    const QString& HelpText() const { return m_helpText; }
    bool FilterMode() const { return m_filterMode; }
    bool VisibleOnly() const { return m_visibleOnly; }
    int LastRelation() const { return m_lastRelation; }
    const QString& NotLikeFilter() const { return m_notLikeFilter; }
    const QString& NotLikeField() const { return m_notLikeField; }
    // The composed expression as the caller reads it: the memo's text, trimmed.
    QString SqlText() const;

    // Composes the list into the memo (and, in filter mode, the NOT LIKE pair).
    void ComposeExpression();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit TFrmQuerySet(QWidget* parent);
    void buildControls();

    void btnAddLogicClick();
    void btnModifyOKClick();
    void btnModifyCancelClick();
    void btnClearLogicClick();
    void btnOKClick();
    void btnExitClick();
    void btnHelpClick();
    void btnRunLogicClick();
    void cbxFieldChange();
    void pmnuSetFieldPopup(const QPoint& pos);
    void mnuAddFieldClick();
    void mnuModifyFieldClick();
    void mnuSetLogicClick(const QString& word);
    void mnuDeleteFieldClick();
    void showTestDisplay();
    void leaveModifyMode();
    void appendRow(const ConditionRow& row);
    QTreeWidgetItem* selectedRow() const;
    QString selectedWord(const ui::TFlatComboBox* combo) const;
    // Runs a handler of the dialog inside the command boundary, so that an error (a colour
    // setting that is not a number) is shown instead of escaping the event loop.
    void guarded(void (TFrmQuerySet::*handler)());

    QPointer<Dataset> m_dataSet;
    QString m_aliasList;
    QStringList m_fieldMap;
    QString m_helpText;
    bool m_filterMode = false;
    bool m_visibleOnly = true;
    int m_lastRelation = 0;
    QString m_notLikeFilter;
    QString m_notLikeField;
    bool m_fillingFields = false;

    ui::TMemo* memSQL = nullptr;
    ui::TGroupBox* gbxGoodsInfo = nullptr;
    ui::TLabel* lblField = nullptr;
    ui::TLabel* lblFactor = nullptr;
    ui::TLabel* lblValue = nullptr;
    ui::TFlatComboBox* cbxField = nullptr;
    ui::TFlatComboBox* cbxFactor = nullptr;
    ui::TEdit* editValue = nullptr;
    ui::TShape* zvxShapeList = nullptr;
    ui::TShape* zvxShapevalue = nullptr;
    ui::TShape* zvxShapeLine = nullptr;
    ui::TListView* lvwLogic = nullptr;
    ui::TFlatButton* btnAddLogic = nullptr;
    ui::TFlatButton* btnModifyOK = nullptr;
    ui::TFlatButton* btnModifyCancel = nullptr;
    ui::TFlatButton* btnRunLogic = nullptr;
    ui::TFlatButton* btnClearLogic = nullptr;
    ui::TFlatButton* btnOK = nullptr;
    ui::TFlatButton* btnHelp = nullptr;
    ui::TFlatButton* btnExit = nullptr;
    QMenu* pmnuSetField = nullptr;
    QAction* mnuAddField = nullptr;
    QAction* mnuModifyField = nullptr;
    QMenu* mnuModifyLogic = nullptr;
    QAction* mnuLogicOr = nullptr;
    QAction* mnuLogicAnd = nullptr;
    QAction* mnuDeleteField = nullptr;
};

} // namespace kestrane::conditions
