#pragma once
// A picture view: a bitmap, metafile, icon or JPEG image, or a BLOB field's picture.
#include "report/TRMPicture.h"
#include "report/TRMView.h"

namespace kestrane::report {

class TRMPictureView : public TRMView {
    Q_OBJECT
public:
    explicit TRMPictureView(QObject* parent = nullptr) : TRMView(parent) {}
    int viewKind() const override { return gtPicture; }
    QString rmClassName() const override { return QStringLiteral("TRMPictureView"); }

    TRMPicture Picture;
    int PictureOption = 0; // stretch, aspect and centre bits of the designer

protected:
    void describe(QList<Property>& out, QStringList& derived) const override {
        TRMView::describe(out, derived);
        auto* self = const_cast<TRMPictureView*>(this);
        out.append(field("PictureKind", self->Picture.Kind));
        out.append(field("PictureData", self->Picture.Data));
        out.append(field("PictureOption", self->PictureOption));
    }
};

} // namespace kestrane::report
