#include "platform/widgets/BorderLayout.h"

#include <QWidget>

namespace platform {

BorderLayout::BorderLayout(QWidget* parent, int spacing) : QLayout(parent)
{
    setSpacing(spacing);
    setContentsMargins(0, 0, 0, 0);
}

BorderLayout::~BorderLayout()
{
    for (QLayoutItem* item : items_) delete item;
}

void BorderLayout::put(QLayoutItem* item, Position position)
{
    // A region holds one component; adding another replaces it, as in a border layout.
    if (QLayoutItem* old = items_[position]) {
        if (QWidget* w = old->widget())
            w->hide();
        delete old;
    }
    items_[position] = item;
    invalidate();
}

void BorderLayout::addWidget(QWidget* widget, Position position)
{
    addChildWidget(widget);
    put(new QWidgetItem(widget), position);
}

QWidget* BorderLayout::widgetAt(Position position) const
{
    return items_[position] ? items_[position]->widget() : nullptr;
}

void BorderLayout::addItem(QLayoutItem* item)
{
    put(item, Center);
}

int BorderLayout::count() const
{
    int n = 0;
    for (QLayoutItem* item : items_) n += item != nullptr;
    return n;
}

QLayoutItem* BorderLayout::itemAt(int index) const
{
    for (QLayoutItem* item : items_) {
        if (!item)
            continue;
        if (index-- == 0)
            return item;
    }
    return nullptr;
}

QLayoutItem* BorderLayout::takeAt(int index)
{
    for (QLayoutItem*& item : items_) {
        if (!item)
            continue;
        if (index-- == 0) {
            QLayoutItem* taken = item;
            item = nullptr;
            invalidate();
            return taken;
        }
    }
    return nullptr;
}

Qt::Orientations BorderLayout::expandingDirections() const
{
    return Qt::Horizontal | Qt::Vertical;
}

QSize BorderLayout::minimumSize() const
{
    return calculateSize(false);
}
QSize BorderLayout::sizeHint() const
{
    return calculateSize(true);
}

QSize BorderLayout::calculateSize(bool preferred) const
{
    QSize total(0, 0);
    int rows = 0;
    for (QLayoutItem* item : items_) {
        if (!item || item->isEmpty())
            continue;
        const QSize s = preferred ? item->sizeHint() : item->minimumSize();
        total.rheight() += s.height();
        total.setWidth(qMax(total.width(), s.width()));
        ++rows;
    }
    if (rows > 1)
        total.rheight() += spacing() * (rows - 1);
    const QMargins m = contentsMargins();
    return total + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void BorderLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    const QRect area = rect.marginsRemoved(contentsMargins());
    int top = area.top();
    int bottom = area.bottom() + 1;
    if (QLayoutItem* north = items_[North]; north && !north->isEmpty()) {
        const int h = north->sizeHint().height();
        north->setGeometry(QRect(area.left(), top, area.width(), h));
        top += h + spacing();
    }
    if (QLayoutItem* south = items_[South]; south && !south->isEmpty()) {
        const int h = south->sizeHint().height();
        south->setGeometry(QRect(area.left(), bottom - h, area.width(), h));
        bottom -= h + spacing();
    }
    if (QLayoutItem* center = items_[Center]; center && !center->isEmpty())
        center->setGeometry(QRect(area.left(), top, area.width(), qMax(0, bottom - top)));
}

}  // namespace platform
