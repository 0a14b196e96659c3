#pragma once
// The modal "Doc Path" question: a prompt, a field holding the current root,
// OK and Cancel.

#include <QString>
#include <optional>

class QWidget;

namespace app {

// The text in the field when OK was chosen; nothing for Cancel or the close box.
std::optional<QString> askDocumentationPath(QWidget* parent, const QString& current);

}  // namespace app
