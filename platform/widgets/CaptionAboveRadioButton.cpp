#include "platform/widgets/CaptionAboveRadioButton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace platform {

namespace {
constexpr int kGap = 2;
constexpr int kMargin = 2;
}  // namespace

CaptionAboveRadioButton::CaptionAboveRadioButton(const QString& text, QWidget* parent) : QRadioButton(text, parent) { }

QSize CaptionAboveRadioButton::indicatorSize() const
{
    return QSize(style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this),
        style()->pixelMetric(QStyle::PM_ExclusiveIndicatorHeight, nullptr, this));
}

QSize CaptionAboveRadioButton::sizeHint() const
{
    const QFontMetrics fm(font());
    const QSize ind = indicatorSize();
    const int w = qMax(fm.horizontalAdvance(text()), ind.width()) + 2 * kMargin;
    const int h = fm.height() + kGap + ind.height() + 2 * kMargin;
    return QSize(w, h);
}

void CaptionAboveRadioButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    const QFontMetrics fm(font());
    const QSize ind = indicatorSize();

    const QRect textRect(0, kMargin, width(), fm.height());
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(textRect, Qt::AlignHCenter | Qt::AlignTop, text());

    QStyleOptionButton opt;
    opt.initFrom(this);
    opt.rect = QRect((width() - ind.width()) / 2, textRect.bottom() + 1 + kGap, ind.width(), ind.height());
    opt.state |= isChecked() ? QStyle::State_On : QStyle::State_Off;
    if (isDown())
        opt.state |= QStyle::State_Sunken;
    painter.drawPrimitive(QStyle::PE_IndicatorRadioButton, opt);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = textRect.adjusted(1, 0, -1, 0);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

}  // namespace platform
