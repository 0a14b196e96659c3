#pragma once
// The class field's completion list: from the second character typed, up to
// 12 classes of the class index under the field, each row the simple name and,
// dimmed, its package. Down and Up move through the rows, Enter or a click
// chooses one, Escape closes the list. The list never takes the focus, so
// typing goes on in the field; with no row chosen, Enter stays the field's own.
// The list is filled off the event thread (CompletionWorker): it may show a
// moment after the key, and an answer to an older keystroke is dropped.
//
// A text with "#" in it asks for methods instead ("#toUnm", "Collectors#toU"):
// each row the method and its parameter types and, dimmed, its class; the
// member index answers them (MethodQueryWorker).

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "app/BrowseHistory.h"
#include "lookup/ClassCompletion.h"
#include "lookup/MemberIndex.h"

class QLineEdit;
class QListWidget;

namespace lookup {
class CompletionWorker;
}

namespace app {

class MethodQueryWorker;

class CompletionPopup : public QObject {
    Q_OBJECT
public:
    static constexpr int kRows = 12;
    static constexpr int kMinChars = 2;

    // `completion` returns the index when it is ready, else nullptr (no list then).
    CompletionPopup(QLineEdit* field, std::function<std::shared_ptr<const lookup::ClassCompletion>()> completion);
    ~CompletionPopup() override;

    QListWidget* list() const { return list_; }
    bool isOpen() const;
    // Closes the list and drops the answer still to come, if any.
    void close();
    // A query is running whose answer would still be shown.
    bool isWaiting() const { return waiting_; }
    // While held no query is asked (the class library is not to be read yet).
    void setHeld(bool held) { held_ = held; }

signals:
    // A row was chosen: the class's binary name ("java.util.Map$Entry").
    void chosen(const QString& binaryName);
    // A method row was chosen: its declaring class and the method.
    void methodChosen(const QString& binaryName, const app::MemberRef& method);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void update(const QString& text);
    void show(quint64 id, const std::vector<lookup::ClassChoice>& choices);
    void showMethods(quint64 id, const std::vector<lookup::MethodHit>& hits);
    void showRows();
    void choose(int row);

    QLineEdit* field_;
    QListWidget* list_;
    std::function<std::shared_ptr<const lookup::ClassCompletion>()> completion_;
    lookup::CompletionWorker* worker_;
    MethodQueryWorker* methodWorker_;
    quint64 latest_ = 0;  // the id of the last query asked; older answers are stale
    bool waiting_ = false;
    bool held_ = false;
};

}  // namespace app
