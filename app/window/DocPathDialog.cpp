#include "app/window/DocPathDialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QVBoxLayout>

namespace app {

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
