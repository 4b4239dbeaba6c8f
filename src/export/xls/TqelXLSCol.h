#pragma once
// A sheet column with its width in 1/256 of a character.
#include <QtGlobal>

namespace kestrane::xls {

class TqelXLSCol {
public:
    static constexpr int MaxWidth = 65280;

    explicit TqelXLSCol(int index) : m_index(index) {}

    int Index() const { return m_index; }
    int Width() const { return m_width; }
    // Keeps the width within what a COLINFO record can carry (0 to 65280).
    void SetWidth(int width);
    // Width from screen pixels, measured against the letter "x" of 10-point Arial.
    void SetWidthPixels(int pixels);

private:
    int m_index;
    int m_width = 2048; // eight characters
};

} // namespace kestrane::xls
