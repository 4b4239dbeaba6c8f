#pragma once
// The column chooser: a list of the grid's user columns (Tag 0) with a tick for each visible
// one; OK applies the ticks to the columns' visibility.
#include <QDialog>

class QListWidget;
class QPushButton;
class QFrame;

namespace kestrane::grid {

class TAdvDBGridEh;

class TFrmChooseDBFields : public QDialog {
    Q_OBJECT
public:
    TFrmChooseDBFields(TAdvDBGridEh* grid, QWidget* owner);

    QListWidget* ltvChoose;
    QFrame* zvxShape;
    QPushButton* btnAll;
    QPushButton* btnno;
    QPushButton* btnok;
    QPushButton* btncancel;

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
