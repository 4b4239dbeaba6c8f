#include "grid/TColumnEh.h"

#include "grid/TAdvDBGridEh.h"

namespace kestrane::grid {

int TColumnEh::Index() const {
    return m_grid->indexOfColumn(this);
}

bool TColumnEh::Visible() const {
    return m_grid->isColumnVisible(Index());
}

void TColumnEh::setVisible(bool visible) {
    m_grid->setColumnVisible(Index(), visible);
}

int TColumnEh::Width() const {
    return m_grid->columnWidth(Index());
}

void TColumnEh::setWidth(int width) {
    m_grid->setColumnWidthOf(Index(), width);
}

} // namespace kestrane::grid
