#pragma once
// Draws the member tree's rows: the "pf.gif" icon, then the text in two columns
// (member name, then the short signature 110 pixels further right, or right after
// a wide name), bold for the root and group rows, plain for members, and a band
// behind the text that marks a selected member. Also puts the "bluedot" images on
// the tree's open and closed handles.
//
// Like a tree cell renderer it is configured for one row at a time
// (getTreeCellRendererComponent) and then asked to paint that row (paint); the
// view's item delegate makes the two calls back to back for every row.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QSize>
#include <QString>

#include "lookup/widgets/PaneColour.h"

class QPainter;
class QTreeView;

namespace lookup {

class MemberTreeView;

class CellPainter2 {
public:
    // Loads "pf.gif" from the working folder and sets the tree's handles.
    explicit CellPainter2(MemberTreeView* tree);

    // Configures the painter for one row and returns it. Only the node text, the
    // selected flag and the leaf flag matter.
    CellPainter2& getTreeCellRendererComponent(
        const QTreeView* tree, const QString& value, bool selected, bool expanded, bool leaf, int row, bool hasFocus);

    // Closed nodes get "bluedot.gif", open ones "bluedot2.gif" (read from the working folder).
    void setHandles(MemberTreeView* tree);

    // Draws the configured row with its top-left corner at the painter's origin,
    // over the size last given to setSize().
    void paint(QPainter* g) const;

    // The size the row asks for: the icon, the gap and the text as drawn.
    QSize getPreferredSize() const;
    void setSize(const QSize& size) { size_ = size; }

    // The configured row state.
    const QString& getText() const { return text_; }
    const QColor& getForeground() const { return foreground_; }
    const QColor& getBackground() const { return background_; }
    // The font paint() uses for the configured row.
    QFont paintFont() const;
    // Where the icon ends and the text begins.
    int textStart() const;

    static constexpr int kIconTextGap = 4;
    static constexpr int kBandWidth = 485;
    static constexpr int kSecondColumn = 110;

private:
    struct Columns {
        QString first, rest;
        int x2 = 0;
    };
    Columns columns() const;

    QPixmap i_leaf;
    bool lf = false;
    QString text_;
    QPixmap icon_;
    QColor foreground_ {0, 0, 255};
    QColor background_ = kPaneBackground;
    QSize size_;
};

}  // namespace lookup
