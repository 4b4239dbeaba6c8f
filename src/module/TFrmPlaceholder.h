#pragma once
// The screen the module shows until the query form is built: the same embedding, messages
// and close behaviour as every module form, with the screen's title and Escape to close.
#include "module/TFrmBase.h"

namespace kestrane::module {

class TFrmPlaceholder : public TFrmBase {
    Q_OBJECT
public:
    explicit TFrmPlaceholder(QWidget* owner);

protected:
    void keyPressEvent(QKeyEvent* e) override;
};

} // namespace kestrane::module
