#pragma once
// What the member pane shows after a failed lookup: the one-line message
// ("Class not found : java.util.Stream", or why a class cannot be read) and up
// to eight classes the user may have meant, each a button that looks it up.
// The message shows at once; the suggestions come when the class index has
// answered (off the event thread), through setSuggestions.

#include <QString>
#include <QWidget>
#include <vector>

#include "lookup/ClassCompletion.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

namespace app {

class LookupFailureView : public QWidget {
    Q_OBJECT
public:
    static constexpr size_t kMaxSuggestions = 8;

    explicit LookupFailureView(const QString& message, QWidget* parent = nullptr);

    // Shows the suggestions (up to kMaxSuggestions) under the message; once.
    void setSuggestions(const std::vector<lookup::ClassChoice>& suggestions);

    QString message() const;
    const std::vector<QPushButton*>& suggestionButtons() const { return buttons_; }

signals:
    // A suggestion was clicked: the class's binary name.
    void chosen(const QString& binaryName);

private:
    QVBoxLayout* layout_;
    QLabel* message_;
    std::vector<QPushButton*> buttons_;
};

}  // namespace app
