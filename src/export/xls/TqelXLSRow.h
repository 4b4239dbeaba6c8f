#pragma once
// A sheet row with its height in twips.
#include <QtGlobal>

namespace kestrane::xls {

class TqelXLSRow {
public:
    explicit TqelXLSRow(int index) : m_index(index) {}

    int Index() const { return m_index; }
    int Height() const { return m_height; }
    void SetHeight(int twips) { m_height = twips; }
    // Height from screen pixels at the screen's horizontal resolution.
    void SetHeightPixels(int pixels);

private:
    int m_index;
    int m_height = 255;
};

} // namespace kestrane::xls
