#include "grid/TFrmChooseDBFields.h"

#include "grid/TAdvDBGridEh.h"
#include "ui/modal/MessageBox.h"

#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>

namespace kestrane::grid {

namespace {
constexpr int kColumnIndexRole = Qt::UserRole + 1;

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, int x) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(x, 176, 64, 23);
    button->setProperty("vclClass", QStringLiteral("TBUTTON"));
    return button;
}
} // namespace

TFrmChooseDBFields::TFrmChooseDBFields(TAdvDBGridEh* grid, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_grid(grid) {
    setObjectName(QStringLiteral("FrmChooseDBFields"));
    setProperty("vclClass", QStringLiteral("TFRMCHOOSEDBFIELDS"));
    setWindowTitle(QStringLiteral("选择项目"));
    setFixedSize(312, 204);
    setFont(QFont(QStringLiteral("宋体"), 9));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(0xFB, 0xFF, 0xDE)); // 14614267 as 0x00BBGGRR
    setPalette(pal);

    ltvChoose = new QListWidget(this);
    ltvChoose->setObjectName(QStringLiteral("ltvChoose"));
    ltvChoose->setProperty("vclClass", QStringLiteral("TLISTVIEW"));
    ltvChoose->setGeometry(0, 0, 312, 169);
    ltvChoose->setFrameShape(QFrame::NoFrame);
    ltvChoose->setFlow(QListView::TopToBottom);
    ltvChoose->setWrapping(true);
    ltvChoose->setResizeMode(QListView::Adjust);
    ltvChoose->installEventFilter(this);

    zvxShape = new QFrame(this);
    zvxShape->setObjectName(QStringLiteral("zvxShape"));
    zvxShape->setFrameShape(QFrame::HLine);
    zvxShape->setFrameShadow(QFrame::Sunken);
    zvxShape->setGeometry(0, 169, 312, 3);

    btnAll = makeButton(this, "btnAll", QStringLiteral("全  选(&A)"), 24);
    btnno = makeButton(this, "btnno", QStringLiteral("全不选(&N)"), 93);
    btnok = makeButton(this, "btnok", QStringLiteral("确  定(&O)"), 162);
    btncancel = makeButton(this, "btncancel", QStringLiteral("取  消(&C)"), 232);
    btnok->setDefault(true);

    connect(btnAll, &QPushButton::clicked, this, &TFrmChooseDBFields::btnAllClick);
    connect(btnno, &QPushButton::clicked, this, &TFrmChooseDBFields::btnnoClick);
    connect(btnok, &QPushButton::clicked, this, &TFrmChooseDBFields::btnokClick);
    connect(btncancel, &QPushButton::clicked, this, &QDialog::reject);
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
