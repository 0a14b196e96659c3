#pragma once
// The member tree widget over MemberNode texts: single selection, "System" 12 pt,
// background (240, 240, 255), rows drawn by a CellPainter2, root shown with its
// groups closed.

#include <QStringList>
#include <QTreeView>

#include "lookup/MemberTree.h"

namespace lookup {

class MemberTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit MemberTreeView(const MemberNode& root, QWidget* parent = nullptr);

    // Number of selected nodes (0 or 1).
    int getSelectionCount() const;

signals:
    // A selection change, reported as the platform's selection event reports its
    // primary path: the node texts from the root to the newly selected node, or
    // to the node just deselected when nothing new was selected.
    void valueChanged(const QStringList& pathTexts);
};

}  // namespace lookup
