#pragma once
// The report list of the product's dialogs: rows of texts under column titles.
#include "ui/TColor.h"

#include <QTreeWidget>

namespace kestrane::ui {

class TListView : public QTreeWidget {
    Q_OBJECT
    Q_PROPERTY(int color READ color WRITE setColor)
public:
    explicit TListView(QWidget* parent = nullptr);

    TColor color() const { return m_color; }
    void setColor(TColor c);

private:
    TColor m_color = clWindow;
};

} // namespace kestrane::ui
