#pragma once
// The class field's completion list: from the second character typed, up to
// 12 classes of the class index under the field, each row the simple name and,
// dimmed, its package. Down and Up move through the rows, Enter or a click
// chooses one, Escape closes the list. The list never takes the focus, so
// typing goes on in the field; with no row chosen, Enter stays the field's own.

#include <QObject>
#include <QString>
#include <functional>

class QLineEdit;
class QListWidget;

namespace lookup {
class ClassCompletion;
}

namespace app {

class CompletionPopup : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 12;
    static constexpr int kMinChars = 2;

    // `completion` returns the index when it is ready, else nullptr (no list then).
    CompletionPopup(QLineEdit* field, std::function<lookup::ClassCompletion*()> completion);
    ~CompletionPopup() override;

    QListWidget* list() const { return list_; }
    bool isOpen() const;
    void close();

signals:
    // A row was chosen: the class's binary name ("java.util.Map$Entry").
    void chosen(const QString& binaryName);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update(const QString& text);
    void choose(int row);

    QLineEdit* field_;
    QListWidget* list_;
    std::function<lookup::ClassCompletion*()> completion_;
};

}  // namespace app
