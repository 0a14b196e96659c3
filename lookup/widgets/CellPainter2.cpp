#include "lookup/widgets/CellPainter2.h"

#include <QFontMetrics>

#include "platform/widgets/JavaFont.h"
#include <QPainter>

#include "lookup/widgets/MemberTreeView.h"
#include "platform/JavaText.h"

namespace lookup {

namespace {
const QColor kSelectedText(0, 0, 0);
const QColor kSelectedBand(210, 200, 250);
const QColor kText(0, 0, 255);

QFont rowFont(bool bold)
{
    return platform::javaFont(QStringLiteral("System"), 12, bold);
}
}  // namespace

CellPainter2::CellPainter2(MemberTreeView* tree) : i_leaf(QStringLiteral("pf.gif"))
{
    setHandles(tree);
}

CellPainter2& CellPainter2::getTreeCellRendererComponent(
    const QTreeView*, const QString& value, bool selected, bool, bool leaf, int, bool)
{
    text_ = value;
    lf = leaf;
    icon_ = i_leaf;
    // Group rows never take the selection colours; only a member is marked.
    if (leaf && selected) {
        foreground_ = kSelectedText;
        background_ = kSelectedBand;
    } else {
        foreground_ = kText;
        background_ = kPaneBackground;
    }
    return *this;
}

void CellPainter2::setHandles(MemberTreeView* tree)
{
    if (!tree)
        return;
    tree->setExpandedIcon(QPixmap(QStringLiteral("bluedot2.gif")));
    tree->setCollapsedIcon(QPixmap(QStringLiteral("bluedot.gif")));
}

QFont CellPainter2::paintFont() const
{
    return rowFont(!lf);
}

int CellPainter2::textStart() const
{
    // A missing image file leaves no icon; the text then starts after the gap alone.
    return (icon_.isNull() ? 0 : icon_.width()) + kIconTextGap;
}

CellPainter2::Columns CellPainter2::columns() const
{
    Columns c;
    const QString t = platform::javaTrim(text_);
    const qsizetype p = t.indexOf(QLatin1Char(' '));
    if (p >= 0) {
        c.first = t.left(p);
        c.rest = platform::javaTrim(t.mid(p + 1));
    } else {
        c.first = t;
    }
    // Measured with "20" appended, so a name that nearly fills the column still
    // keeps some room before the signature.
    const int w = QFontMetrics(paintFont()).horizontalAdvance(c.first + QStringLiteral("20"));
    c.x2 = textStart() + (w <= kSecondColumn ? kSecondColumn : w);
    return c;
}

void CellPainter2::paint(QPainter* g) const
{
    g->save();
    const QFont font = paintFont();
    g->setFont(font);
    const int x0 = textStart();
    if (!icon_.isNull())
        g->drawPixmap(0, 0, icon_);
    g->fillRect(QRect(x0, 0, kBandWidth, size_.height()), background_);
    g->setPen(foreground_);
    const Columns c = columns();
    const int ascent = QFontMetrics(font).ascent();
    g->drawText(x0, ascent, c.first + QString(25, QLatin1Char(' ')));
    g->drawText(c.x2, ascent, c.rest);
    g->restore();
}

QSize CellPainter2::getPreferredSize() const
{
    const QFontMetrics fm(paintFont());
    const Columns c = columns();
    // Wide enough for the label's own text and for the two columns as painted.
    const int labelWidth = textStart() + fm.horizontalAdvance(text_);
    const int painted =
        c.rest.isEmpty() ? textStart() + fm.horizontalAdvance(c.first) : c.x2 + fm.horizontalAdvance(c.rest);
    const int iconHeight = icon_.isNull() ? 0 : icon_.height();
    return QSize(qMax(labelWidth, painted), qMax(iconHeight, fm.height()));
}

}  // namespace lookup
