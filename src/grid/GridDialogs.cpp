// The grid's dialogs: the column chooser, and the condition dialog in its query and filter
// modes.
#include "grid/TAdvDBGridEh.h"
#include "grid/TFrmChooseDBFields.h"
#include "ui/modal/ModalRunner.h"

namespace kestrane::grid {

void TAdvDBGridEh::ChooseColumns() {
    TFrmChooseDBFields chooser(this, this);
    ui::execDialog(chooser);
}

} // namespace kestrane::grid
