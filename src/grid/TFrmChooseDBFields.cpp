#include "grid/TFrmChooseDBFields.h"

#include "grid/TAdvDBGridEh.h"
#include "ui/modal/MessageBox.h"

#include "ui/ColorScheme.h"
#include "ui/ComponentKind.h"
#include "ui/widgets/TFlatButton.h"
#include "ui/widgets/TShape.h"

#include <QKeyEvent>

namespace kestrane::grid {

namespace {
constexpr int kColumnIndexRole = Qt::UserRole + 1;

ui::TFlatButton* makeButton(QWidget* parent, const char* name, const QString& text, int x) {
    auto* button = new ui::TFlatButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 176, 64, 23);
    button->setColor(ui::kDesignYellow);
    button->setColorBorder(ui::clGreen);
    return button;
}
} // namespace

ChooserList::ChooserList(QWidget* parent) : QListWidget(parent) {
    ui::setComponentKind(this, "TLISTVIEW");
    setColor(m_color);
}

void ChooserList::setColor(ui::TColor c) {
    m_color = c;
    QPalette p = palette();
    p.setColor(QPalette::Base, ui::toQColor(c));
    setPalette(p);
}

TFrmChooseDBFields::TFrmChooseDBFields(TAdvDBGridEh* grid, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_grid(grid) {
    setObjectName(QStringLiteral("FrmChooseDBFields"));
    setWindowTitle(QStringLiteral("选择项目"));
    setFixedSize(312, 204);
    setFont(QFont(QStringLiteral("宋体"), 9));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, ui::toQColor(ui::kDesignYellow));
    setPalette(pal);

    ltvChoose = new ChooserList(this);
    ltvChoose->setObjectName(QStringLiteral("ltvChoose"));
    ltvChoose->setGeometry(0, 0, 312, 169);
    ltvChoose->setFrameShape(QFrame::NoFrame);
    ltvChoose->setFlow(QListView::TopToBottom);
    ltvChoose->setWrapping(true);
    ltvChoose->setResizeMode(QListView::Adjust);
    ltvChoose->installEventFilter(this);

    zvxShape = new ui::TShape(this);
    zvxShape->setObjectName(QStringLiteral("zvxShape"));
    zvxShape->setPenColor(ui::clGreen);
    zvxShape->setGeometry(0, 169, 312, 1);

    btnAll = makeButton(this, "btnAll", QStringLiteral("全  选(&A)"), 24);
    btnno = makeButton(this, "btnno", QStringLiteral("全不选(&N)"), 93);
    btnok = makeButton(this, "btnok", QStringLiteral("确  定(&O)"), 162);
    btncancel = makeButton(this, "btncancel", QStringLiteral("取  消(&C)"), 232);

    connect(btnAll, &QAbstractButton::clicked, this, &TFrmChooseDBFields::btnAllClick);
    connect(btnno, &QAbstractButton::clicked, this, &TFrmChooseDBFields::btnnoClick);
    connect(btnok, &QAbstractButton::clicked, this, &TFrmChooseDBFields::btnokClick);
    connect(btncancel, &QAbstractButton::clicked, this, &QDialog::reject);

    ui::ApplyColorScheme(this);
}

void TFrmChooseDBFields::showEvent(QShowEvent* e) {
    FormShow();
    QDialog::showEvent(e);
}

// Escape closes the chooser only when it reaches the form itself, not from inside the list.
bool TFrmChooseDBFields::eventFilter(QObject* watched, QEvent* e) {
    if (watched == ltvChoose && e->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape)
        return true;
    return QDialog::eventFilter(watched, e);
}

void TFrmChooseDBFields::FormShow() {
    ltvChoose->clear();
    for (int i = 0; i < m_grid->columnCount(); ++i) {
        const TColumnEh* column = m_grid->column(i);
        if (column->Tag != 0)
            continue;
        auto* item = new QListWidgetItem(column->caption(), ltvChoose);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
        item->setCheckState(column->Visible() ? Qt::Checked : Qt::Unchecked);
        item->setData(kColumnIndexRole, i);
    }
}

void TFrmChooseDBFields::btnAllClick() {
    for (int i = 0; i < ltvChoose->count(); ++i)
        ltvChoose->item(i)->setCheckState(Qt::Checked);
}

void TFrmChooseDBFields::btnnoClick() {
    for (int i = 0; i < ltvChoose->count(); ++i)
        ltvChoose->item(i)->setCheckState(Qt::Unchecked);
}

void TFrmChooseDBFields::btnokClick() {
    int ticked = 0;
    for (int i = 0; i < ltvChoose->count(); ++i)
        ticked += ltvChoose->item(i)->checkState() == Qt::Checked;
    if (ticked <= m_grid->FrozenCols()) {
        ui::MessageBox(this, QStringLiteral("所选列数必须大于固定列数!"), ui::kCaptionWarning,
                       ui::MbOk | ui::MbIconWarning);
        return;
    }
    try {
        for (int i = 0; i < ltvChoose->count(); ++i) {
            const QListWidgetItem* item = ltvChoose->item(i);
            if (TColumnEh* column = m_grid->column(item->data(kColumnIndexRole).toInt()))
                column->setVisible(item->checkState() == Qt::Checked);
        }
    } catch (const std::exception& e) {
        ui::MessageBox(this, QString::fromUtf8(e.what()), ui::kCaptionError,
                       ui::MbOk | ui::MbIconError);
    }
    done(ui::IdYes);
}

} // namespace kestrane::grid
