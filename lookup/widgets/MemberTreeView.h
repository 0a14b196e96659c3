#pragma once
// The member tree widget over MemberNode texts: single selection, "System" 12 pt,
// the pane background (PaneColour.h), rows drawn by a CellPainter2, root shown with its
// groups closed.

#include <QPixmap>
#include <QStringList>
#include <QTreeView>
#include <memory>
#include <optional>

#include "lookup/MemberTree.h"
#include "platform/Member.h"

namespace lookup {

class CellPainter2;

// The item data role under which a leaf holds its platform::Member.
inline constexpr int kMemberRole = Qt::UserRole + 1;

class MemberTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit MemberTreeView(const MemberNode& root, QWidget* parent = nullptr);
    ~MemberTreeView() override;

    // Number of selected nodes (0 or 1).
    int getSelectionCount() const;

    // The handle images of open and closed nodes; a null pixmap draws no handle.
    void setExpandedIcon(const QPixmap& icon);
    void setCollapsedIcon(const QPixmap& icon);

    CellPainter2* cellPainter() const { return cellPainter_.get(); }

signals:
    // A selection change, reported as the platform's selection event reports its
    // primary path: the node texts from the root to the newly selected node, or
    // to the node just deselected when nothing new was selected; with the
    // member that node's leaf carries (nothing for the root and the groups).
    void valueChanged(const QStringList& pathTexts, const std::optional<platform::Member>& member);

protected:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const override;

private:
    void selectCollapsedParent(const QModelIndex& index);
    QStringList pathTexts(const QModelIndex& index) const;
    void reportValue(const QModelIndex& index);

    std::unique_ptr<CellPainter2> cellPainter_;
    QPixmap expandedIcon_;
    QPixmap collapsedIcon_;
};

}  // namespace lookup
