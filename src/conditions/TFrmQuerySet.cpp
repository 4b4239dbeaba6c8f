#include "conditions/TFrmQuerySet.h"

#include "common/TextRoutines.h"
#include "conditions/ChoiceWindow.h"
#include "conditions/ConditionOperators.h"
#include "conditions/ExpressionComposer.h"
#include "conditions/InputWindow.h"
#include "conditions/MessageWindow.h"
#include "data/Dataset.h"
#include "ui/ColorScheme.h"
#include "ui/RemoveCaptionBar.h"
#include "ui/modal/CommandBoundary.h"
#include "ui/widgets/TEdit.h"
#include "ui/widgets/TFlatButton.h"
#include "ui/widgets/TFlatComboBox.h"
#include "ui/widgets/TGroupBox.h"
#include "ui/widgets/TLabel.h"
#include "ui/widgets/TListView.h"
#include "ui/widgets/TMemo.h"
#include "ui/widgets/TShape.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QStyle>

namespace kestrane::conditions {

namespace {

enum Column { ColCaption = 0, ColOp = 1, ColValue = 2, ColLogic = 3 };

const QString kDefaultTitle = QStringLiteral("查询过滤条件设置：");
const QString kSelectRow = QStringLiteral("请选择一个逻辑表达式。");

// The designed colours of the dialog, which the user's colour scheme may replace.
constexpr ui::TColor kFormColor = ui::kDesignYellow;
constexpr ui::TColor kDesignedBorder = ui::clGreen;

ConditionRow rowOf(const QTreeWidgetItem* item) {
    return ConditionRow{item->text(ColCaption), item->text(ColOp), item->text(ColValue),
                        item->text(ColLogic)};
}

void writeRow(QTreeWidgetItem* item, const ConditionRow& row) {
    item->setText(ColCaption, row.Caption);
    item->setText(ColOp, row.Op);
    item->setText(ColValue, row.Value);
    item->setText(ColLogic, row.Logic);
}

ui::TFlatButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                            const QString& hint, const QRect& geometry) {
    auto* button = new ui::TFlatButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    button->setGeometry(geometry);
    button->setColor(kFormColor);
    button->setColorBorder(kDesignedBorder);
    return button;
}

ui::TLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, int x, int y) {
    auto* label = new ui::TLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setColor(kFormColor);
    label->move(x, y);
    label->adjustSize();
    return label;
}

ui::TShape* makeShape(QWidget* parent, const char* name, const QRect& geometry) {
    auto* shape = new ui::TShape(parent);
    shape->setObjectName(QString::fromLatin1(name));
    shape->setPenColor(kDesignedBorder);
    shape->setGeometry(geometry);
    return shape;
}

} // namespace

// ---- construction ----------------------------------------------------------------------

TFrmQuerySet::TFrmQuerySet(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmQuerySet"));
    setProperty(ui::kBorderStyleProperty, QStringLiteral("bsSingle"));
    setFont(QFont(QStringLiteral("宋体"), 9));
    setFixedSize(629, 264);
    QPalette p = palette();
    p.setColor(QPalette::Window, ui::toQColor(kFormColor));
    setPalette(p);
    setAutoFillBackground(true);
    setProperty("color", kFormColor);
    buildControls();
    // The group box caption is the title; the caption bar would only repeat it.
    ui::RemoveCaptionBar(this);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TFrmQuerySet::buildControls() {
    // The memo only receives the composed text; it lies under the group box, unseen.
    memSQL = new ui::TMemo(this);
    memSQL->setObjectName(QStringLiteral("memSQL"));
    memSQL->setGeometry(8, 191, 613, 65);

    gbxGoodsInfo = new ui::TGroupBox(this);
    gbxGoodsInfo->setObjectName(QStringLiteral("gbxGoodsInfo"));
    gbxGoodsInfo->setTitle(kDefaultTitle);
    gbxGoodsInfo->setColor(kFormColor);
    gbxGoodsInfo->setGeometry(0, 0, 629, 264);
    QWidget* box = gbxGoodsInfo;

    lblField = makeLabel(box, "lblField", QStringLiteral("字段名称："), 8, 25);
    lblFactor = makeLabel(box, "lblFactor", QStringLiteral("条件："), 211, 25);
    lblValue = makeLabel(box, "lblValue", QStringLiteral("值："), 372, 25);

    zvxShapeLine = makeShape(box, "zvxShapeLine", QRect(8, 72, 613, 1));
    zvxShapevalue = makeShape(box, "zvxShapevalue", QRect(370, 41, 241, 22));
    zvxShapeList = makeShape(box, "zvxShapeList", QRect(8, 82, 504, 169));

    cbxField = new ui::TFlatComboBox(box);
    cbxField->setObjectName(QStringLiteral("cbxField"));
    cbxField->setGeometry(8, 42, 194, 21);
    cbxField->setColorBorder(kDesignedBorder);

    cbxFactor = new ui::TFlatComboBox(box);
    cbxFactor->setObjectName(QStringLiteral("cbxFactor"));
    cbxFactor->setGeometry(211, 42, 148, 21);
    cbxFactor->setColorBorder(kDesignedBorder);
    cbxFactor->addItems(operatorWords());
    cbxFactor->setCurrentIndex(-1);

    editValue = new ui::TEdit(box);
    editValue->setObjectName(QStringLiteral("editValue"));
    editValue->setFrame(false);
    editValue->setGeometry(372, 44, 237, 18);

    lvwLogic = new ui::TListView(box);
    lvwLogic->setObjectName(QStringLiteral("lvwLogic"));
    lvwLogic->setGeometry(9, 83, 502, 167);
    lvwLogic->setColumnCount(4);
    lvwLogic->setHeaderLabels({QStringLiteral("字段名称"), QStringLiteral("条件"),
                               QStringLiteral("值"), QStringLiteral("逻辑关系")});
    lvwLogic->setColumnWidth(ColCaption, 198);
    lvwLogic->setColumnWidth(ColOp, 100);
    lvwLogic->setColumnWidth(ColValue, 79);
    lvwLogic->setColumnWidth(ColLogic, 69);
    lvwLogic->setRootIsDecorated(false);
    lvwLogic->setItemsExpandable(false);
    lvwLogic->setUniformRowHeights(true);
    lvwLogic->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lvwLogic->setSelectionMode(QAbstractItemView::SingleSelection);
    lvwLogic->setSelectionBehavior(QAbstractItemView::SelectRows);
    lvwLogic->setFrameShape(QFrame::NoFrame);
    lvwLogic->header()->setSectionsClickable(false);
    lvwLogic->header()->setSectionsMovable(false);
    lvwLogic->header()->setStretchLastSection(false);
    {
        // The selection stays visible while another control has the focus.
        QPalette lp = lvwLogic->palette();
        lp.setColor(QPalette::Inactive, QPalette::Highlight,
                    lp.color(QPalette::Active, QPalette::Highlight));
        lp.setColor(QPalette::Inactive, QPalette::HighlightedText,
                    lp.color(QPalette::Active, QPalette::HighlightedText));
        lvwLogic->setPalette(lp);
    }
    lvwLogic->setContextMenuPolicy(Qt::CustomContextMenu);
    zvxShapeList->lower();
    zvxShapevalue->lower();

    btnAddLogic = makeButton(box, "btnAddLogic", QStringLiteral("加  入(&A)"),
                             QStringLiteral("加入逻辑表达式"), QRect(519, 81, 97, 28));
    btnModifyOK = makeButton(box, "btnModifyOK", QStringLiteral("修改 &M"),
                             QStringLiteral("确认对逻辑表达式的修改"), QRect(520, 81, 64, 28));
    btnModifyCancel = makeButton(box, "btnModifyCancel", QString(),
                                 QStringLiteral("放弃对逻辑表达式的修改"), QRect(587, 81, 29, 28));
    btnModifyCancel->setIcon(style()->standardIcon(QStyle::SP_DialogCancelButton));
    btnModifyCancel->setIconSize(QSize(16, 16));
    // The small glyph button is designed without the green border.
    btnModifyCancel->setColorBorder(ui::clBtnShadow);
    btnModifyOK->hide();
    btnModifyCancel->hide();
    btnRunLogic = makeButton(box, "btnRunLogic", QStringLiteral("运行 &R"), QString(),
                             QRect(520, 81, 97, 28));
    btnRunLogic->hide();
    btnClearLogic = makeButton(box, "btnClearLogic", QStringLiteral("清  空(&C)"), QString(),
                               QRect(520, 117, 97, 28));
    btnOK = makeButton(box, "btnOK", QString(), QString(), QRect(520, 152, 97, 28));
    btnHelp = makeButton(box, "btnHelp", QStringLiteral("帮  助(&H)"), QString(),
                         QRect(520, 190, 97, 28));
    btnExit = makeButton(box, "btnExit", QStringLiteral("退  出(&X)"), QString(),
                         QRect(520, 226, 97, 28));

    pmnuSetField = new QMenu(this);
    pmnuSetField->setObjectName(QStringLiteral("pmnuSetField"));
    mnuAddField = pmnuSetField->addAction(QStringLiteral("加入字段表达式"));
    mnuAddField->setObjectName(QStringLiteral("mnuAddField"));
    mnuModifyField = pmnuSetField->addAction(QStringLiteral("修改字段表达式"));
    mnuModifyField->setObjectName(QStringLiteral("mnuModifyField"));
    mnuModifyLogic = pmnuSetField->addMenu(QStringLiteral("修改逻辑表达式"));
    mnuModifyLogic->setObjectName(QStringLiteral("mnuModifyLogic"));
    mnuModifyLogic->menuAction()->setEnabled(false);
    mnuLogicOr = mnuModifyLogic->addAction(QStringLiteral("A 或者 B"));
    mnuLogicOr->setObjectName(QStringLiteral("mnuLogicOr"));
    mnuLogicAnd = mnuModifyLogic->addAction(QStringLiteral("A 并且 B"));
    mnuLogicAnd->setObjectName(QStringLiteral("mnuLogicAnd"));
    mnuDeleteField = pmnuSetField->addAction(QStringLiteral("删除字段表达式"));
    mnuDeleteField->setObjectName(QStringLiteral("mnuDeleteField"));

    connect(btnAddLogic, &QAbstractButton::clicked, this,
            [this] { guarded(&TFrmQuerySet::btnAddLogicClick); });
    connect(btnModifyOK, &QAbstractButton::clicked, this, &TFrmQuerySet::btnModifyOKClick);
    connect(btnModifyCancel, &QAbstractButton::clicked, this, &TFrmQuerySet::btnModifyCancelClick);
    connect(btnRunLogic, &QAbstractButton::clicked, this, &TFrmQuerySet::btnRunLogicClick);
    connect(btnClearLogic, &QAbstractButton::clicked, this, &TFrmQuerySet::btnClearLogicClick);
    connect(btnOK, &QAbstractButton::clicked, this, &TFrmQuerySet::btnOKClick);
    connect(btnHelp, &QAbstractButton::clicked, this,
            [this] { guarded(&TFrmQuerySet::btnHelpClick); });
    connect(btnExit, &QAbstractButton::clicked, this, &TFrmQuerySet::btnExitClick);
    connect(cbxField, &QComboBox::currentIndexChanged, this, &TFrmQuerySet::cbxFieldChange);
    connect(lvwLogic, &QWidget::customContextMenuRequested, this, &TFrmQuerySet::pmnuSetFieldPopup);
    connect(mnuAddField, &QAction::triggered, this, &TFrmQuerySet::mnuAddFieldClick);
    connect(mnuModifyField, &QAction::triggered, this,
            [this] { guarded(&TFrmQuerySet::mnuModifyFieldClick); });
    connect(mnuLogicOr, &QAction::triggered, this, [this] { mnuSetLogicClick(kLogicOr); });
    connect(mnuLogicAnd, &QAction::triggered, this, [this] { mnuSetLogicClick(kLogicAnd); });
    connect(mnuDeleteField, &QAction::triggered, this,
            [this] { guarded(&TFrmQuerySet::mnuDeleteFieldClick); });

    // The form sees keys before its controls.
    installEventFilter(this);
    for (QWidget* w : std::initializer_list<QWidget*>{
             cbxField, cbxFactor, editValue, lvwLogic, btnAddLogic, btnModifyOK, btnModifyCancel,
             btnClearLogic, btnOK, btnHelp, btnExit, gbxGoodsInfo})
        w->installEventFilter(this);
    lvwLogic->viewport()->installEventFilter(this);
}

std::unique_ptr<TFrmQuerySet> TFrmQuerySet::CreateForQuery(QWidget* parent, const QString& title,
                                                           const QString& aliasList,
                                                           const QString& helpText,
                                                           const ConditionList* rows,
                                                           const QString& fieldMapText) {
    std::unique_ptr<TFrmQuerySet> form(new TFrmQuerySet(parent));
    ui::ApplyColorScheme(form.get());
    form->btnOK->setText(QStringLiteral("查  询(&O)"));
    if (!title.trimmed().isEmpty())
        form->gbxGoodsInfo->setTitle(title);
    form->setWindowTitle(form->gbxGoodsInfo->title());
    form->m_aliasList = aliasList;
    form->m_helpText = QStringLiteral("字段名称值的要求:\r\n") + helpText;
    SplitText(QStringLiteral(";"), fieldMapText, form->m_fieldMap);
    form->setConditions(rows ? *rows : ConditionList());
    form->m_visibleOnly = true;
    form->m_filterMode = false;
    return form;
}

std::unique_ptr<TFrmQuerySet> TFrmQuerySet::CreateForFilter(QWidget* parent, const QString& title,
                                                            const QString& aliasList,
                                                            const QString& helpText,
                                                            const ConditionList* rows,
                                                            bool visibleOnly) {
    std::unique_ptr<TFrmQuerySet> form(new TFrmQuerySet(parent));
    ui::ApplyColorScheme(form.get());
    form->btnOK->setText(QStringLiteral("过  滤(&O)"));
    if (!title.trimmed().isEmpty())
        form->gbxGoodsInfo->setTitle(title);
    form->setWindowTitle(form->gbxGoodsInfo->title());
    form->m_aliasList = aliasList;
    form->m_helpText = QStringLiteral("字段名称值的要求:\r\n") + helpText;
    form->m_fieldMap.clear();
    form->setConditions(rows ? *rows : ConditionList());
    form->m_visibleOnly = visibleOnly;
    form->m_filterMode = true;
    return form;
}

// ---- the condition list ----------------------------------------------------------------

ConditionList TFrmQuerySet::Conditions() const {
    ConditionList rows;
    for (int i = 0; i < lvwLogic->topLevelItemCount(); ++i)
        rows.append(rowOf(lvwLogic->topLevelItem(i)));
    return rows;
}

void TFrmQuerySet::setConditions(const ConditionList& rows) {
    lvwLogic->clear();
    for (const ConditionRow& row : rows)
        appendRow(row);
}

void TFrmQuerySet::appendRow(const ConditionRow& row) {
    auto* item = new QTreeWidgetItem(lvwLogic);
    writeRow(item, row);
}

QTreeWidgetItem* TFrmQuerySet::selectedRow() const {
    const QList<QTreeWidgetItem*> selected = lvwLogic->selectedItems();
    return selected.isEmpty() ? nullptr : selected.first();
}

QString TFrmQuerySet::selectedWord(const ui::TFlatComboBox* combo) const {
    return combo->currentIndex() >= 0 ? combo->currentText() : QString();
}

QString TFrmQuerySet::SqlText() const {
    return memSQL->toPlainText().trimmed();
}

void TFrmQuerySet::ComposeExpression() {
    const QList<FieldDef> fields = m_dataSet ? m_dataSet->fields() : QList<FieldDef>();
    const ComposeResult result = composeExpression(
        Conditions(), fields, ComposeSettings{m_aliasList, m_fieldMap, m_filterMode});
    m_notLikeFilter = result.notLikeFilter;
    m_notLikeField = result.notLikeField;
    memSQL->clear();
    memSQL->setPlainText(result.expression);
}

void TFrmQuerySet::guarded(void (TFrmQuerySet::*handler)()) {
    ui::runCommand(this, [this, handler] { (this->*handler)(); });
}

// ---- showing ---------------------------------------------------------------------------

void TFrmQuerySet::showEvent(QShowEvent* event) {
    m_fillingFields = true;
    cbxField->clear();
    if (m_dataSet)
        for (const FieldDef& field : m_dataSet->fields())
            if (field.visible || !m_visibleOnly)
                cbxField->addItem(field.displayName());
    cbxField->setCurrentIndex(-1);
    cbxFactor->setCurrentIndex(-1);
    m_fillingFields = false;
    QDialog::showEvent(event);
}

void TFrmQuerySet::cbxFieldChange() {
    // Another field makes the old value meaningless.
    if (!m_fillingFields)
        editValue->clear();
}

// ---- adding, modifying, deleting ---------------------------------------------------------

void TFrmQuerySet::btnAddLogicClick() {
    if (editValue->text().isEmpty()) {
        MessageWindow::ask(this, QStringLiteral("请输入一个值。"), MessageWindow::Warning,
                           MessageWindow::OK);
        editValue->setFocus();
        return;
    }
    const ConditionRow added =
        ConditionRow::condition(selectedWord(cbxField), selectedWord(cbxFactor), editValue->text());
    const int count = lvwLogic->topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        const ConditionRow row = rowOf(lvwLogic->topLevelItem(i));
        if (row.isLogic() || row.Caption != added.Caption || row.Op != added.Op ||
            row.Value != added.Value)
            continue;
        // The same condition entered again at the end confirms the dialog: Enter, Enter.
        if (i == count - 1 && !btnAddLogic->isHidden())
            btnOKClick();
        else
            MessageWindow::ask(this, QStringLiteral("该逻辑表达式已经存在。"),
                               MessageWindow::Information, MessageWindow::OK);
        return;
    }
    if (count > 0) {
        const QStringList items = m_lastRelation == 1 ? QStringList{kLogicOr, kLogicAnd}
                                                      : QStringList{kLogicAnd, kLogicOr};
        QString answer;
        if (!ChoiceWindow::ask(this, QStringLiteral("选择框"),
                               QStringLiteral("请选择一个逻辑关系："), items, answer))
            return;
        m_lastRelation = answer == kLogicOr ? 1 : 0;
        appendRow(ConditionRow::logic(answer));
    }
    appendRow(added);
}

void TFrmQuerySet::btnModifyOKClick() {
    if (QTreeWidgetItem* item = selectedRow())
        writeRow(item, ConditionRow::condition(selectedWord(cbxField), selectedWord(cbxFactor),
                                               editValue->text()));
    leaveModifyMode();
}

void TFrmQuerySet::btnModifyCancelClick() {
    leaveModifyMode();
}

void TFrmQuerySet::leaveModifyMode() {
    btnModifyOK->hide();
    btnModifyCancel->hide();
    btnAddLogic->show();
}

void TFrmQuerySet::btnClearLogicClick() {
    lvwLogic->clear();
}

void TFrmQuerySet::btnOKClick() {
    ComposeExpression();
    accept();
}

void TFrmQuerySet::btnExitClick() {
    reject();
}

void TFrmQuerySet::btnHelpClick() {
    MessageWindow::ask(this, m_helpText, MessageWindow::Information, MessageWindow::OK);
}

void TFrmQuerySet::btnRunLogicClick() {
    ComposeExpression();
}

void TFrmQuerySet::pmnuSetFieldPopup(const QPoint& pos) {
    if (const QTreeWidgetItem* item = selectedRow()) {
        const bool logic = rowOf(item).isLogic();
        mnuModifyLogic->menuAction()->setEnabled(logic);
        mnuModifyField->setEnabled(!logic);
    }
    pmnuSetField->popup(lvwLogic->viewport()->mapToGlobal(pos));
}

void TFrmQuerySet::mnuAddFieldClick() {
    cbxField->setFocus();
}

void TFrmQuerySet::mnuModifyFieldClick() {
    QTreeWidgetItem* item = selectedRow();
    if (!item || rowOf(item).isLogic()) {
        MessageWindow::ask(this, kSelectRow, MessageWindow::Information, MessageWindow::OK);
        lvwLogic->setFocus();
        return;
    }
    const ConditionRow row = rowOf(item);
    btnModifyOK->show();
    btnModifyCancel->show();
    btnAddLogic->hide();
    m_fillingFields = true;
    cbxField->setCurrentIndex(cbxField->findText(row.Caption, Qt::MatchExactly));
    cbxFactor->setCurrentIndex(cbxFactor->findText(row.Op, Qt::MatchExactly));
    m_fillingFields = false;
    editValue->setText(row.Value);
}

void TFrmQuerySet::mnuSetLogicClick(const QString& word) {
    if (QTreeWidgetItem* item = selectedRow())
        item->setText(ColLogic, word);
}

void TFrmQuerySet::mnuDeleteFieldClick() {
    QTreeWidgetItem* item = selectedRow();
    if (!item) {
        MessageWindow::ask(this, kSelectRow, MessageWindow::Information, MessageWindow::OK);
        lvwLogic->setFocus();
        return;
    }
    const int index = lvwLogic->indexOfTopLevelItem(item);
    if (rowOf(item).isLogic()) {
        // A logic row goes with the condition it joins on.
        if (MessageWindow::ask(this,
                               QStringLiteral("删除该逻辑关系，将同时删除与之关联的逻辑表达式。"
                                              "\r\n您确认继续吗？"),
                               MessageWindow::Confirmation,
                               MessageWindow::Yes | MessageWindow::No) != MessageWindow::mrYes)
            return;
        delete lvwLogic->takeTopLevelItem(index);
        if (index < lvwLogic->topLevelItemCount())
            delete lvwLogic->takeTopLevelItem(index);
        return;
    }
    if (MessageWindow::ask(this, QStringLiteral("您确认删除该逻辑表达式吗？"),
                           MessageWindow::Confirmation,
                           MessageWindow::Yes | MessageWindow::No) != MessageWindow::mrYes)
        return;
    // A condition goes with the logic row before it; the first one with the logic row after.
    delete lvwLogic->takeTopLevelItem(index);
    const int partner = index > 0 ? index - 1 : 0;
    if (partner < lvwLogic->topLevelItemCount())
        delete lvwLogic->takeTopLevelItem(partner);
}

void TFrmQuerySet::showTestDisplay() {
    ComposeExpression();
    QString text = memSQL->toPlainText();
    InputWindow::ask(this, QStringLiteral("测试信息"), QStringLiteral("查询语句"), text);
}

// ---- keys ------------------------------------------------------------------------------

bool TFrmQuerySet::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2 && (key->modifiers() & Qt::AltModifier)) {
            guarded(&TFrmQuerySet::showTestDisplay);
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            reject();
            return true;
        }
        if (watched == editValue && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            // Enter adds the condition (even while a modification is pending, through the
            // hidden add button) and never reaches the edit.
            btnAddLogic->click();
            return true;
        }
    } else if (event->type() == QEvent::KeyRelease && watched == editValue) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Up)
            editValue->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace kestrane::conditions
