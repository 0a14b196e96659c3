#pragma once
// The light lavender behind the member pane, its rows and the documentation
// pane: the window and the tree widget must agree on it, or the panes show seams.

#include <QColor>

namespace lookup {

inline const QColor kPaneBackground(240, 240, 255);

}  // namespace lookup
