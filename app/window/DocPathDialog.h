#pragma once
// The modal "Doc Path" question: a prompt, a field holding the current root,
// OK and Cancel.

#include <QString>
#include <optional>

class QWidget;

namespace app {

// The text in the field when OK was chosen; nothing for Cancel or the close box.
std::optional<QString> askDocumentationPath(QWidget* parent, const QString& current);

// The field's text after an edit turned `before` into `after`, with line ends
// taken out of what the edit inserted, as a one-line field does: those at the
// ends of the inserted text dropped, inner ones turned into one blank each
// ("\r\n" counts as one). A path pasted from a terminal keeps no line end, so
// the configuration file keeps its two lines. `cursor` is set to the end of
// the inserted text.
QString withoutLineEnds(const QString& before, const QString& after, int& cursor);

}  // namespace app
