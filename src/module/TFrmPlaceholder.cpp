#include "module/TFrmPlaceholder.h"

#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace kestrane::module {

TFrmPlaceholder::TFrmPlaceholder(QWidget* owner) : TFrmBase(owner) {
    setObjectName(QStringLiteral("FrmKestrane"));
    setWindowTitle(QStringLiteral("已勾兑验收单明细查询"));
    auto* layout = new QVBoxLayout(PanelMain);
    auto* title = new QLabel(windowTitle(), PanelMain);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    setFocusPolicy(Qt::StrongFocus);
}

void TFrmPlaceholder::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape) {
        close();
        return;
    }
    TFrmBase::keyPressEvent(e);
}

} // namespace kestrane::module
