#include "lookup/widgets/MemberTreeView.h"
#include "platform/widgets/JavaFont.h"

#include <QHeaderView>
#include <QPainter>
#include <QStandardItemModel>
#include <QStyledItemDelegate>

#include "lookup/widgets/CellPainter2.h"
#include "lookup/widgets/PaneColour.h"

namespace lookup {

namespace {

// Hands every row to the cell painter: configure, then paint, back to back.
class RowDelegate : public QStyledItemDelegate {
public:
    RowDelegate(CellPainter2* cp, QTreeView* view) : QStyledItemDelegate(view), cp_(cp), view_(view) { }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        configure(option, index);
        // The row's cell is as wide as the painter asks, as a tree lays out its
        // cells; the band is cut there.
        const QSize cell(qMin(option.rect.width(), cp_->getPreferredSize().width()), option.rect.height());
        cp_->setSize(cell);
        p->save();
        p->translate(option.rect.topLeft());
        p->setClipRect(QRect(QPoint(0, 0), cell), Qt::IntersectClip);
        cp_->paint(p);
        p->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        configure(option, index);
        return cp_->getPreferredSize();
    }

private:
    void configure(const QStyleOptionViewItem& option, const QModelIndex& index) const
    {
        const bool leaf = !index.model()->hasChildren(index);
        cp_->getTreeCellRendererComponent(view_, index.data(Qt::DisplayRole).toString(),
            option.state.testFlag(QStyle::State_Selected), view_->isExpanded(index), leaf, index.row(),
            option.state.testFlag(QStyle::State_HasFocus));
    }

    CellPainter2* cp_;
    QTreeView* view_;
};

// A leaf keeps its member in place and answers kMemberRole only when asked:
// a QVariant made for every leaf up front would cost a heap copy of each
// member on every redisplay, for the one leaf the user may select.
class LeafItem : public QStandardItem {
public:
    LeafItem(const QString& text, const platform::Member& member) : QStandardItem(text), member_(member) { }

    QVariant data(int role) const override
    {
        return role == kMemberRole ? QVariant::fromValue(member_) : QStandardItem::data(role);
    }

private:
    platform::Member member_;
};

void addChildren(QStandardItem* parent, const MemberNode& node)
{
    QList<QStandardItem*> items;
    items.reserve(qsizetype(node.children.size()));
    for (const MemberNode& child : node.children) {
        auto* item = child.member ? new LeafItem(child.text, *child.member) : new QStandardItem(child.text);
        item->setEditable(false);
        addChildren(item, child);
        items.append(item);
    }
    if (!items.isEmpty())
        parent->appendRows(items);
}

}  // namespace

MemberTreeView::MemberTreeView(const MemberNode& root, QWidget* parent) : QTreeView(parent)
{
    auto* model = new QStandardItemModel(this);
    auto* rootItem = new QStandardItem(root.text);
    rootItem->setEditable(false);
    addChildren(rootItem, root);
    model->appendRow(rootItem);
    setModel(model);

    setHeaderHidden(true);
    // One column as wide as its widest row, so long rows scroll sideways.
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    setRootIsDecorated(false);  // the root row has no handle of its own
    setUniformRowHeights(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);

    setFont(platform::javaFont(QStringLiteral("System"), 12));

    // The painter draws all selection marking itself; the style's highlight
    // must not show through.
    QPalette pal = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        pal.setColor(group, QPalette::Base, kPaneBackground);
        pal.setColor(group, QPalette::Window, kPaneBackground);
        pal.setColor(group, QPalette::Highlight, kPaneBackground);
        pal.setColor(group, QPalette::AlternateBase, kPaneBackground);
    }
    setPalette(pal);
    viewport()->setAutoFillBackground(true);

    cellPainter_ = std::make_unique<CellPainter2>(this);
    setItemDelegate(new RowDelegate(cellPainter_.get(), this));

    // A new tree shows its root open and every group closed.
    expand(model->index(0, 0));

    connect(this, &QTreeView::collapsed, this, &MemberTreeView::selectCollapsedParent);
}

void MemberTreeView::selectCollapsedParent(const QModelIndex& index)
{
    // Closing a group whose member is selected hands the selection to the group,
    // in two steps as the selection listener sees them: first the member is
    // deselected, then the group is selected. A hidden row never stays selected.
    bool descendantSelected = false;
    for (const QModelIndex& sel : selectionModel()->selectedIndexes()) {
        for (QModelIndex p = sel.parent(); p.isValid(); p = p.parent())
            if (p == index)
                descendantSelected = true;
    }
    if (!descendantSelected)
        return;
    selectionModel()->clearSelection();
    if (!selectionModel()->isSelected(index))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
}

MemberTreeView::~MemberTreeView()
{
    // The delegate refers to the painter; let it go first.
    setItemDelegate(nullptr);
}

int MemberTreeView::getSelectionCount() const
{
    return selectionModel() ? int(selectionModel()->selectedRows().size()) : 0;
}

void MemberTreeView::setExpandedIcon(const QPixmap& icon)
{
    expandedIcon_ = icon;
    viewport()->update();
}

void MemberTreeView::setCollapsedIcon(const QPixmap& icon)
{
    collapsedIcon_ = icon;
    viewport()->update();
}

QStringList MemberTreeView::pathTexts(const QModelIndex& index) const
{
    QStringList path;
    for (QModelIndex i = index; i.isValid(); i = i.parent()) path.prepend(i.data(Qt::DisplayRole).toString());
    return path;
}

void MemberTreeView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    QTreeView::selectionChanged(selected, deselected);
    if (!selected.indexes().isEmpty())
        reportValue(selected.indexes().first());
    else if (!deselected.indexes().isEmpty())
        reportValue(deselected.indexes().first());
}

void MemberTreeView::reportValue(const QModelIndex& index)
{
    const QVariant member = index.data(kMemberRole);
    emit valueChanged(pathTexts(index),
        member.canConvert<platform::Member>() ? std::optional(member.value<platform::Member>()) : std::nullopt);
}

void MemberTreeView::drawBranches(QPainter* painter, const QRect& rect, const QModelIndex& index) const
{
    // Only the handle image: no connecting lines, no selection fill.
    if (!model()->hasChildren(index) || !index.parent().isValid())
        return;
    const QPixmap& icon = isExpanded(index) ? expandedIcon_ : collapsedIcon_;
    if (icon.isNull())
        return;
    const int ind = indentation();
    const QRect cell(rect.right() + 1 - ind, rect.top(), ind, rect.height());
    painter->drawPixmap(
        cell.x() + (cell.width() - icon.width()) / 2, cell.y() + (cell.height() - icon.height()) / 2, icon);
}

}  // namespace lookup
