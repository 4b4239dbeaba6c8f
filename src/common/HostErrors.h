#pragma once
// Display of the error list a failed host call leaves in its by-reference argument.
#include <QString>
#include <QVariant>

class QWidget;

namespace kestrane {

// Joins the error texts of `errors` (a list of texts) one per line after an optional heading;
// a value that is not a list, or an element that is not text, gives "未知错误！" instead.
// With an owner the text is also shown in an error box titled "错误".
QString ShowHostErrors(QWidget* owner, const QVariant& errors, const QString& heading = {});

} // namespace kestrane
