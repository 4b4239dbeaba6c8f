#pragma once
// The footer row under the grid's data: one cell per visible column, aligned with the titles
// and scrolled with them, showing the column's footer value (a static text, the record count
// or the sum of the visible rows).
#include <QWidget>

namespace kestrane::grid {

class TAdvDBGridEh;

class GridFooter : public QWidget {
    Q_OBJECT
public:
    explicit GridFooter(TAdvDBGridEh* grid);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TAdvDBGridEh* m_grid;
};

} // namespace kestrane::grid
