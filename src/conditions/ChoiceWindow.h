#pragma once
// A question with a fixed set of answers in a drop-down list, the first one selected.
#include "conditions/PromptWindow.h"

#include <QStringList>

namespace kestrane::ui {
class TFlatComboBox;
}

namespace kestrane::conditions {

class ChoiceWindow : public PromptWindow {
    Q_OBJECT
public:
    ChoiceWindow(const QString& title, const QString& prompt, const QStringList& items,
                 QWidget* parent = nullptr);

    QString selected() const;

    // Shows the window through the modal seam. On confirmation answers true with the
    // selected item in `answer`; otherwise false and `answer` stays empty.
    static bool ask(QWidget* parent, const QString& title, const QString& prompt,
                    const QStringList& items, QString& answer);

private:
    ui::TFlatComboBox* m_list;
};

} // namespace kestrane::conditions
