#pragma once
// The six frame-line slots of a range, in the order the workbook model numbers them.
#include "export/xls/TqelXLSBorder.h"

#include <array>

namespace kestrane::xls {

class TqelXLSBorders {
public:
    enum Slot { DiagonalDown = 0, DiagonalUp = 1, Bottom = 2, Left = 3, Right = 4, Top = 5 };
    static constexpr int Count = 6;

    TqelXLSBorder& operator[](int slot) { return m_items[static_cast<size_t>(slot)]; }
    const TqelXLSBorder& operator[](int slot) const { return m_items[static_cast<size_t>(slot)]; }

    bool operator==(const TqelXLSBorders&) const = default;

private:
    std::array<TqelXLSBorder, Count> m_items{};
};

} // namespace kestrane::xls
