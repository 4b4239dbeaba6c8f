#pragma once
// One column of the enhanced grid: the field it shows, its title (caption, sort marker) and
// its footer. Visibility and width live in the grid's view; the column reads and writes them
// through its grid, so there is one source of truth for what the user sees.
#include <QString>

namespace kestrane::grid {

class TAdvDBGridEh;

enum TSortMarkerEh { smNoneEh, smDownEh, smUpEh };
enum TFooterValueType { fvtNon, fvtSum, fvtStaticText, fvtCount };

struct TColumnTitleEh {
    QString Caption;
    bool TitleButton = true;
    TSortMarkerEh SortMarker = smNoneEh;
    int SortIndex = 0; // 1 for the first marked column, 0 when unmarked
};

struct TColumnFooterEh {
    TFooterValueType ValueType = fvtNon;
    QString Value; // the static text, or the formatted sum the grid keeps up to date
};

class TColumnEh {
public:
    TColumnEh(TAdvDBGridEh* grid, const QString& fieldName) : m_grid(grid), FieldName(fieldName) {}

    bool Visible() const;
    void setVisible(bool visible);
    int Width() const;
    void setWidth(int width);
    int Index() const;

    QString caption() const { return Title.Caption.isEmpty() ? FieldName : Title.Caption; }

private:
    friend class TAdvDBGridEh;
    TAdvDBGridEh* m_grid;
    int m_hiddenWidth = 64; // the width a hidden column shows with again

public:
    QString FieldName;
    int Tag = 0;
    TColumnTitleEh Title;
    TColumnFooterEh Footer;
    // Display format of the column's numbers ("####0.00"); taken from the field when empty.
    QString DisplayFormat;
};

} // namespace kestrane::grid
