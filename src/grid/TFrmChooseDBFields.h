#pragma once
// The column chooser: a list of the grid's user columns (Tag 0) with a tick for each visible
// one; OK applies the ticks to the columns' visibility.
#include "ui/TColor.h"

#include <QDialog>
#include <QListWidget>

namespace kestrane::ui {
class TFlatButton;
class TShape;
} // namespace kestrane::ui

namespace kestrane::grid {

class TAdvDBGridEh;

// The chooser's check-box list, recoloured by the colour scheme like the product's lists.
class ChooserList : public QListWidget {
    Q_OBJECT
    Q_PROPERTY(int color READ color WRITE setColor)
public:
    explicit ChooserList(QWidget* parent);
    ui::TColor color() const { return m_color; }
    void setColor(ui::TColor c);

private:
    ui::TColor m_color = ui::kDesignYellow;
};

class TFrmChooseDBFields : public QDialog {
    Q_OBJECT
public:
    // Throws kestrane::Error when the colour settings cannot be read.
    TFrmChooseDBFields(TAdvDBGridEh* grid, QWidget* owner);

    ChooserList* ltvChoose;
    ui::TShape* zvxShape;
    ui::TFlatButton* btnAll;
    ui::TFlatButton* btnno;
    ui::TFlatButton* btnok;
    ui::TFlatButton* btncancel;

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormShow();
    void btnAllClick();
    void btnnoClick();
    void btnokClick();

    TAdvDBGridEh* m_grid;
};

} // namespace kestrane::grid
