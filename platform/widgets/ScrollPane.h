#pragma once
// A scroll pane as the window's layout sees it: a preferred size that the
// border layout reads, a maximum size that a border layout (like the original
// arrangement) ignores, an empty border, and a viewport that holds one view.
// The views put into it (tree, text pane) scroll themselves.

#include <QColor>
#include <QFrame>
#include <QSize>

namespace platform {

class ScrollPane : public QFrame {
public:
    explicit ScrollPane(QWidget* parent = nullptr);

    void setPreferredSize(QSize size);
    void setMaximumPaneSize(QSize size) { maximum_ = size; }
    QSize maximumPaneSize() const { return maximum_; }
    QSize sizeHint() const override { return preferred_; }
    QSize minimumSizeHint() const override { return QSize(0, 0); }

    void setBackground(const QColor& color);
    void setEmptyBorder(int top, int left, int bottom, int right);

    // The viewport: remove everything in it, then put one view in.
    QWidget* viewport() const { return viewport_; }
    void viewportRemoveAll();
    void viewportAdd(QWidget* view);
    void setViewportBackground(const QColor& color);
    QWidget* view() const;

private:
    QSize preferred_;
    QSize maximum_;
    QWidget* viewport_;
};

// Background colour of a widget, drawn by the widget itself.
void setBackgroundColor(QWidget* widget, const QColor& color);
// Text colour of a label, button or text field.
void setForegroundColor(QWidget* widget, const QColor& color);

}  // namespace platform
