#pragma once
// What GetFormOne does, with the form to create passed in, so the library entry stays a thin
// export and tests can embed any TFrmBase-derived form.
#include "kestrane/ICoorDisp.h"

#include <functional>

class QWidget;

namespace kestrane::module {

class TFrmBase;

using FormFactory = std::function<TFrmBase*(QWidget* ownerPanel)>;

// Copies the counted operator code, stores the host values, creates the form owned by the
// panel (its start-up runs here), makes it a child of the panel, sizes its content panel to
// the panel and shows it. Returns the form.
TFrmBase* EmbedForm(QWidget* hostWindow, const unsigned char* operatorCode, QWidget* hostPanel,
                    ICoorDisp* host, const FormFactory& createForm);

// The operator code of a counted short string: one length byte N, then N GBK bytes.
QString DecodeShortString(const unsigned char* counted);

} // namespace kestrane::module
