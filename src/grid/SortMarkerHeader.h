#pragma once
// The grid's title row: captions with the sort markers (a triangle, with the marker's order
// when several columns are marked), and title clicks reported with the keyboard modifiers
// that were held when the button went down.
#include <QHeaderView>
#include <functional>

namespace kestrane::grid {

class TAdvDBGridEh;

class SortMarkerHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SortMarkerHeader(TAdvDBGridEh* grid);

Q_SIGNALS:
    void titleClicked(int column, Qt::KeyboardModifiers modifiers);
    // The user finished dragging a column border.
    void columnsResizedByUser();

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    TAdvDBGridEh* m_grid;
    int m_pressedSection = -1;
    bool m_resizing = false;
    bool m_resized = false;
    Qt::KeyboardModifiers m_pressModifiers;
};

} // namespace kestrane::grid
