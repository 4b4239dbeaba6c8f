#pragma once
// A one-line text question: an edit of at most 255 characters, prefilled and fully selected.
#include "conditions/PromptWindow.h"

class QLineEdit;

namespace kestrane::conditions {

class InputWindow : public PromptWindow {
    Q_OBJECT
public:
    InputWindow(const QString& title, const QString& prompt, const QString& text,
                QWidget* parent = nullptr);

    QString text() const;

    // Shows the window through the modal seam. On confirmation answers true with the edited
    // text in `text`; otherwise false and `text` is unchanged.
    static bool ask(QWidget* parent, const QString& title, const QString& prompt, QString& text);

private:
    QLineEdit* m_edit;
};

} // namespace kestrane::conditions
