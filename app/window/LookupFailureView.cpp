#include "app/window/LookupFailureView.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/widgets/JavaFont.h"

namespace app {

LookupFailureView::LookupFailureView(const QString& message, QWidget* parent)
    : QWidget(parent), layout_(new QVBoxLayout(this)), message_(new QLabel(message, this))
{
    layout_->setContentsMargins(10, 10, 10, 10);
    layout_->setSpacing(2);
    message_->setTextFormat(Qt::PlainText);
    message_->setWordWrap(true);
    message_->setFont(platform::javaFont(QStringLiteral("System"), 13));
    QPalette p = message_->palette();
    p.setColor(QPalette::WindowText, QColor(160, 0, 0));
    message_->setPalette(p);
    layout_->addWidget(message_);
    layout_->addStretch(1);
}

void LookupFailureView::setSuggestions(const std::vector<lookup::ClassChoice>& suggestions)
{
    if (!buttons_.empty() || suggestions.empty())
        return;
    delete layout_->takeAt(layout_->count() - 1);  // the stretch, added again below
    auto* heading = new QLabel(QStringLiteral("Did you mean:"), this);
    heading->setContentsMargins(0, 8, 0, 2);
    layout_->addWidget(heading);
    for (size_t i = 0; i < suggestions.size() && i < kMaxSuggestions; ++i) {
        const lookup::ClassChoice& c = suggestions[i];
        auto* button = new QPushButton(c.binaryName, this);
        button->setFlat(true);
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(QStringLiteral("QPushButton { color: #0000ff; text-align: left; padding: 1px 6px; }"
                                             "QPushButton:hover { text-decoration: underline; }"));
        button->setToolTip(QStringLiteral("Look up ") + c.binaryName);
        connect(button, &QPushButton::clicked, this, [this, name = c.binaryName] { emit chosen(name); });
        layout_->addWidget(button, 0, Qt::AlignLeft);
        buttons_.push_back(button);
        button->show();
    }
    heading->show();
    layout_->addStretch(1);
}

QString LookupFailureView::message() const
{
    return message_->text();
}

}  // namespace app
