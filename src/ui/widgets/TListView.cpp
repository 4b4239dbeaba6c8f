#include "ui/widgets/TListView.h"

#include "ui/ComponentKind.h"

namespace kestrane::ui {

TListView::TListView(QWidget* parent) : QTreeWidget(parent) {
    setComponentKind(this, "TLISTVIEW");
    setColor(m_color);
}

void TListView::setColor(TColor c) {
    m_color = c;
    QPalette p = palette();
    p.setColor(QPalette::Base, toQColor(c));
    setPalette(p);
    setAutoFillBackground(true);
}

} // namespace kestrane::ui
