#pragma once
// A stored picture: its graphic kind and the graphic's own file image, kept as bytes.
#include <QByteArray>

namespace kestrane::report {

enum TRMGraphicKind : int { gkNone = 0, gkBitmap = 1, gkMetafile = 2, gkIcon = 3, gkJpeg = 4 };

struct TRMPicture {
    int Kind = gkNone;
    QByteArray Data;
    bool isEmpty() const { return Kind == gkNone || Data.isEmpty(); }
    friend bool operator==(const TRMPicture&, const TRMPicture&) = default;
};

} // namespace kestrane::report
