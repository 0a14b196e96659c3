#include "app/window/CompletionPopup.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QStyledItemDelegate>

#include "app/window/MethodQueryWorker.h"
#include "lookup/ClassCompletion.h"
#include "lookup/CompletionWorker.h"
#include "lookup/MemberSearch.h"

namespace app {

namespace {

constexpr int kPackageRole = Qt::UserRole + 1;
constexpr int kBinaryNameRole = Qt::UserRole + 2;
constexpr int kMethodNameRole = Qt::UserRole + 3;  // method rows only
constexpr int kParametersRole = Qt::UserRole + 4;  // erased, as a QStringList

// A row: the simple name, then the package in a dimmed colour.
class RowPainter : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem o = option;
        initStyleOption(&o, index);
        const QString name = o.text;
        o.text.clear();
        o.widget->style()->drawControl(QStyle::CE_ItemViewItem, &o, painter, o.widget);
        const bool selected = o.state & QStyle::State_Selected;
        QRect r = o.rect.adjusted(6, 0, -4, 0);
        painter->save();
        painter->setFont(o.font);
        painter->setPen(o.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        painter->drawText(r, Qt::AlignVCenter | Qt::AlignLeft, name);
        r.setLeft(r.left() + o.fontMetrics.horizontalAdvance(name) + 12);
        QColor dim = painter->pen().color();
        dim.setAlphaF(0.55f);
        painter->setPen(dim);
        const QString package = index.data(kPackageRole).toString();
        painter->drawText(r, Qt::AlignVCenter | Qt::AlignLeft,
            o.fontMetrics.elidedText(package, Qt::ElideMiddle, std::max(0, r.width())));
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setWidth(s.width() + option.fontMetrics.horizontalAdvance(index.data(kPackageRole).toString()) + 24);
        return s;
    }
};

}  // namespace

CompletionPopup::CompletionPopup(
    QLineEdit* field, std::function<std::shared_ptr<const lookup::ClassCompletion>()> completion)
    : QObject(field),
      field_(field),
      list_(new QListWidget),
      completion_(std::move(completion)),
      worker_(new lookup::CompletionWorker(this)),
      methodWorker_(new MethodQueryWorker(this))
{
    // A tool-tip window shows above the field without taking the focus from it.
    list_->setWindowFlags(Qt::ToolTip | Qt::FramelessWindowHint);
    list_->setAttribute(Qt::WA_ShowWithoutActivating);
    list_->setFocusPolicy(Qt::NoFocus);
    list_->setItemDelegate(new RowPainter(list_));
    list_->setUniformItemSizes(true);
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(list_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { choose(list_->row(item)); });
    // Only what the user types opens the list; the window's own setText does not.
    connect(field_, &QLineEdit::textEdited, this, &CompletionPopup::update);
    connect(worker_, &lookup::CompletionWorker::answered, this, &CompletionPopup::show);
    connect(methodWorker_, &MethodQueryWorker::answered, this, &CompletionPopup::showMethods);
    field_->installEventFilter(this);
    if (QWidget* window = field_->window(); window != field_)
        window->installEventFilter(this);
}

CompletionPopup::~CompletionPopup()
{
    delete list_;
}

bool CompletionPopup::isOpen() const
{
    return list_->isVisible();
}

void CompletionPopup::close()
{
    ++latest_;
    waiting_ = false;
    list_->hide();
    list_->clear();
}

void CompletionPopup::update(const QString& text)
{
    if (held_) {
        close();
        return;
    }
    if (text.contains(QLatin1Char('#'))) {
        if (text.size() < kMinChars || text.size() > lookup::MemberQuery::kMaxTextLength) {
            close();
            return;
        }
        waiting_ = true;
        methodWorker_->ask(++latest_, text, kRows);
        return;
    }
    std::shared_ptr<const lookup::ClassCompletion> completion = completion_ ? completion_() : nullptr;
    if (!completion || text.size() < kMinChars || text.size() > lookup::ClassCompletion::kMaxTextLength) {
        close();
        return;
    }
    // The list shown stays until the answer comes; the answer replaces it.
    waiting_ = true;
    worker_->ask(++latest_, lookup::CompletionWorker::Query::Complete, std::move(completion), text, kRows);
}

void CompletionPopup::show(quint64 id, const std::vector<lookup::ClassChoice>& choices)
{
    if (id != latest_)
        return;  // an older keystroke's, or the list was closed meanwhile
    waiting_ = false;
    if (choices.empty()) {
        close();
        return;
    }
    list_->clear();
    for (const lookup::ClassChoice& c : choices) {
        auto* item = new QListWidgetItem(c.simpleName, list_);
        item->setData(kPackageRole, c.packageName);
        item->setData(kBinaryNameRole, c.binaryName);
        item->setToolTip(c.binaryName);
    }
    showRows();
}

void CompletionPopup::showMethods(quint64 id, const std::vector<lookup::MethodHit>& hits)
{
    if (id != latest_)
        return;
    waiting_ = false;
    if (hits.empty()) {
        close();
        return;
    }
    list_->clear();
    for (const lookup::MethodHit& h : hits) {
        const QString text =
            h.methodName + QLatin1Char('(') + h.displayParameters.join(QStringLiteral(", ")) + QLatin1Char(')');
        auto* item = new QListWidgetItem(text, list_);
        item->setData(kPackageRole, QString(h.binaryName).replace(QLatin1Char('$'), QLatin1Char('.')));
        item->setData(kBinaryNameRole, h.binaryName);
        item->setData(kMethodNameRole, h.methodName);
        item->setData(kParametersRole, h.erasedParameters);
        item->setToolTip(h.line());
    }
    showRows();
}

void CompletionPopup::showRows()
{
    int width = field_->width();
    for (int i = 0; i < list_->count(); ++i)
        width = std::max(width, list_->sizeHintForIndex(list_->model()->index(i, 0)).width());
    const int rowHeight = list_->sizeHintForRow(0);
    list_->resize(std::min(width + 4, 640), rowHeight * list_->count() + 2 * list_->frameWidth());
    list_->move(field_->mapToGlobal(QPoint(0, field_->height())));
    list_->setCurrentRow(-1);
    list_->show();
}

void CompletionPopup::choose(int row)
{
    QListWidgetItem* item = list_->item(row);
    if (!item)
        return;
    const QString binaryName = item->data(kBinaryNameRole).toString();
    const QVariant method = item->data(kMethodNameRole);
    const MemberRef ref {method.toString(), item->data(kParametersRole).toStringList()};
    close();
    if (method.isValid())
        emit methodChosen(binaryName, ref);
    else
        emit chosen(binaryName);
}

bool CompletionPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != field_) {
        // The window moves, hides or loses the focus: the list would float astray.
        if (event->type() == QEvent::Move || event->type() == QEvent::Hide ||
            event->type() == QEvent::WindowDeactivate || event->type() == QEvent::Resize)
            close();
        return false;
    }
    if (event->type() == QEvent::FocusOut || event->type() == QEvent::Hide) {
        close();
        return false;
    }
    if (event->type() != QEvent::KeyPress || !isOpen())
        return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return false;  // the window's browsing keys
    const int rows = list_->count();
    switch (key->key()) {
    case Qt::Key_Down:
        list_->setCurrentRow(std::min(list_->currentRow() + 1, rows - 1));
        return true;
    case Qt::Key_Up:
        list_->setCurrentRow(std::max(list_->currentRow() - 1, 0));
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (list_->currentRow() >= 0) {
            choose(list_->currentRow());
            return true;
        }
        close();
        return false;  // no row chosen: the field's own Enter
    default:
        return false;
    }
}

}  // namespace app
