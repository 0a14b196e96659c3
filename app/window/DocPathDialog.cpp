#include "app/window/DocPathDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

namespace app {

namespace {

bool isLineEnd(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

// The field's text after an edit turned `before` into `after`, with line ends
// taken out of what the edit inserted, as a one-line field does: those at the
// ends of the inserted text dropped, inner ones turned into one blank each
// ("\r\n" counts as one). A path pasted from a terminal keeps no line end, so
// the configuration file keeps its two lines. `cursor` is set to the end of
// the inserted text.
QString withoutLineEnds(const QString& before, const QString& after, int& cursor)
{
    // The inserted text is what lies between the longest common start and the
    // longest common end of the two texts.
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < shorter && before.at(start) == after.at(start)) ++start;
    qsizetype end = 0;
    while (end < shorter - start && before.at(before.size() - 1 - end) == after.at(after.size() - 1 - end)) ++end;
    QStringView inserted = QStringView(after).mid(start, after.size() - start - end);
    while (!inserted.isEmpty() && isLineEnd(inserted.front())) inserted = inserted.mid(1);
    while (!inserted.isEmpty() && isLineEnd(inserted.back())) inserted.chop(1);
    QString mended = after.left(start);
    for (qsizetype i = 0; i < inserted.size(); ++i) {
        if (!isLineEnd(inserted.at(i))) {
            mended += inserted.at(i);
            continue;
        }
        if (inserted.at(i) == QLatin1Char('\r') && i + 1 < inserted.size() && inserted.at(i + 1) == QLatin1Char('\n'))
            ++i;
        mended += QLatin1Char(' ');
    }
    cursor = int(mended.size());
    mended += QStringView(after).right(end);
    return mended;
}

}  // namespace

std::optional<QString> askDocumentationPath(QWidget* parent, const QString& current)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("docPathDialog"));
    dialog.setWindowTitle(QStringLiteral(" Java Orvel"));
    dialog.setModal(true);

    auto* icon = new QLabel(&dialog);
    const int size = dialog.style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, &dialog);
    icon->setPixmap(dialog.style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, &dialog).pixmap(size, size));
    icon->setAlignment(Qt::AlignTop);

    // The same prompt serves both roots.
    auto* prompt = new QLabel(QStringLiteral("Enter main documentation path"), &dialog);
    auto* field = new QLineEdit(current, &dialog);
    field->setMinimumWidth(320);
    // Typing, pasting and dropping all report here; setText does not, so the
    // mend does not come back to itself.
    QString shown = current;
    QObject::connect(field, &QLineEdit::textEdited, field, [field, &shown](const QString& text) {
        int cursor = 0;
        const QString mended = withoutLineEnds(shown, text, cursor);
        shown = mended;
        if (mended != text) {
            field->setText(mended);
            field->setCursorPosition(cursor);
        }
    });
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    auto* message = new QVBoxLayout;
    message->addWidget(prompt);
    message->addWidget(field);
    auto* body = new QHBoxLayout;
    body->addWidget(icon);
    body->addLayout(message);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(body);
    layout->addWidget(buttons);

    field->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return field->text();
}

}  // namespace app
