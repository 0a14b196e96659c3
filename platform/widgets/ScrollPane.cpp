#include "platform/widgets/ScrollPane.h"

#include <QVBoxLayout>

namespace platform {

void setBackgroundColor(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, color);
    p.setColor(QPalette::Base, color);
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void setForegroundColor(QWidget* widget, const QColor& color)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, color);
    p.setColor(QPalette::ButtonText, color);
    p.setColor(QPalette::Text, color);
    widget->setPalette(p);
}

ScrollPane::ScrollPane(QWidget* parent) : QFrame(parent), viewport_(new QWidget(this))
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    outer->addWidget(viewport_);
    auto* inner = new QVBoxLayout(viewport_);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->setSpacing(0);
}

void ScrollPane::setPreferredSize(QSize size)
{
    preferred_ = size;
    updateGeometry();
}

void ScrollPane::setBackground(const QColor& color)
{
    setBackgroundColor(this, color);
}

void ScrollPane::setEmptyBorder(int top, int left, int bottom, int right)
{
    layout()->setContentsMargins(left, top, right, bottom);
}

void ScrollPane::viewportRemoveAll()
{
    QLayout* inner = viewport_->layout();
    while (QLayoutItem* item = inner->takeAt(0)) {
        if (QWidget* w = item->widget()) {
            w->hide();
            w->deleteLater();  // a view may be in the middle of delivering an event
        }
        delete item;
    }
}

void ScrollPane::viewportAdd(QWidget* view)
{
    viewport_->layout()->addWidget(view);
    view->show();
}

void ScrollPane::setViewportBackground(const QColor& color)
{
    setBackgroundColor(viewport_, color);
}

QWidget* ScrollPane::view() const
{
    QLayoutItem* item = viewport_->layout()->itemAt(0);
    return item ? item->widget() : nullptr;
}

}  // namespace platform
