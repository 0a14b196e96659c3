#pragma once
// What the member pane shows after a failed lookup: the one-line message
// ("Class not found : java.util.Stream", or why a class cannot be read) and up
// to eight classes the user may have meant, each a button that looks it up.

#include <QString>
#include <QWidget>
#include <vector>

#include "lookup/ClassCompletion.h"

class QLabel;
class QPushButton;

namespace app {

class LookupFailureView : public QWidget {
    Q_OBJECT
public:
    static constexpr size_t kMaxSuggestions = 8;

    LookupFailureView(
        const QString& message, const std::vector<lookup::ClassChoice>& suggestions, QWidget* parent = nullptr);

    QString message() const;
    const std::vector<QPushButton*>& suggestionButtons() const { return buttons_; }

signals:
    // A suggestion was clicked: the class's binary name.
    void chosen(const QString& binaryName);

private:
    QLabel* message_;
    std::vector<QPushButton*> buttons_;
};

}  // namespace app
