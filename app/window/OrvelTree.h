#pragma once
// The main window: every control, the catalogue, the documentation roots and
// the results of the last lookup live here; it handles its own button commands
// and the member tree's selections.

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTextCharFormat>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "app/BrowseHistory.h"
#include "app/ConfigFile.h"
#include "catalogue/PathsData.h"
#include "lookup/ClassLookup.h"
#include "lookup/widgets/MemberTreeView.h"
#include "platform/classlib/JavaClass.h"

class QKeyEvent;
class QLabel;
class QModelIndex;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace platform {
class ScrollPane;
}
namespace app {
class CompletionPopup;
class LookupFailureView;
}  // namespace app
namespace javadoc {
struct DocLink;
}
namespace lookup {
class CompletionWorker;
struct ClassChoice;
}  // namespace lookup

class orvel_tree : public QWidget {
    Q_OBJECT
public:
    // When the class library is first read: at once, or once releaseLibrary()
    // is called (a project's classpath is still being resolved, and the
    // library takes no entries after its first use).
    enum class LibraryStart { Now, Held };

    explicit orvel_tree(LibraryStart start = LibraryStart::Now);
    ~orvel_tree() override;

    // Program entry: builds the one window; the arguments are ignored.
    static orvel_tree* main(LibraryStart start = LibraryStart::Now);
    // The library may be read now: the class index is built, and a SEARCH
    // that waited for it runs.
    void releaseLibrary();
    // Names in the title the release whose class library is read
    // (" — Java SE 11"), for a window started with --release.
    void showRelease(int release);

    // The project whose compile classpath the library reads, named in the
    // title; `problem` (one line, "" for none) shows in a status line under
    // the panes when its classpath could not be resolved.
    void showProject(const QString& projectName, const QString& problem);
    // One line in the status line under the panes (made on first use).
    void showStatus(const QString& text);
    // The status line's text; "" while there is none.
    QString statusText() const;

    void autoStart(const QString& text);
    QString getSelection() const { return QString(); }
    void showIt();
    void hideIt();
    // An action of a button or of the class field. Only the buttons' command
    // texts are commands; the field's Enter reports its text, which is none.
    struct ActionEvent {
        const QObject* source = nullptr;
        QString command;
    };
    void actionPerformed(const ActionEvent& e);
    bool loadTxt(const QString& text);
    void search();
    // A member tree selection: its node texts and the leaf's member.
    void valueChanged(const QStringList& pathTexts, const std::optional<platform::Member>& member);
    // SEARCH of a class by its binary name, as a class chosen from the
    // completion list is; then, for a member, its leaf is selected so that its
    // documentation shows. A class the library lacks shows the failure view.
    void openTarget(const QString& binaryClassName, const std::optional<app::MemberRef>& member);
    // Back and Forward over the SEARCH steps; false at either end.
    bool goBack();
    bool goForward();

    // What closing the window does after saving; the process exit by default.
    // Tests replace it so that closing does not end the test program.
    std::function<void(int)> exitProcess;

    // Read access for hosts and tests.
    const QStringList& signatures() const { return n; }
    QLineEdit* classField() const { return name; }
    QLineEdit* searchField() const { return searchFor; }
    QTextEdit* textPane() const { return ta; }
    lookup::MemberTreeView* memberTree() const { return tree; }
    const QString& docPath() const { return docpath; }
    const QString& docPath2() const { return docpath2; }
    const QString& getName2() const { return name2; }
    const QString& getStartAt() const { return startAt; }
    // The class field's completion list, and what the member pane shows after a
    // failed lookup (nullptr while it shows a tree or nothing).
    app::CompletionPopup* completionList() const { return classPopup; }
    app::LookupFailureView* failureView() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The constructor's steps, in the order it runs them.
    void buildFields();
    QWidget* buildControlRows();
    void buildFrame(QWidget* top);
    void loadStartState();
    void buildPanes();
    void buildTextFormats();

    void loadConfig();
    void saveConfig();
    void reDisplay();
    void docPathCommand();
    QPushButton* makeButton(const QString& caption, const QString& command);
    void attachClassCompletion();
    void attachClassIndex();
    // SEARCH of the field's text: a catalogue hit at once, a name the class
    // index must complete when the index is ready (see pendingSearch).
    void searchName(const QString& typed);
    void autoStartWith(const QString& classText);
    void showLookup(lookup::LookupResult result);
    void lookUpChosen(const QString& binaryName);
    void showFailure(const QString& message, const QString& className);
    void showSuggestions(quint64 id, const std::vector<lookup::ClassChoice>& choices);

    // Browsing: history, the member tree from the class field, links.
    void attachBrowsing();
    void recordStep();
    void keepCurrentView();
    void restoreStep(const app::BrowseStep& step);
    bool selectMember(const app::MemberRef& member);
    void selectLeaf(const QModelIndex& leaf);
    void stepLeaf(int direction);
    void openCurrentGroup(bool open);
    bool browsingKey(const QKeyEvent* key);
    void showLinks(const std::vector<javadoc::DocLink>& links);
    void docContextMenu(const QPoint& pos);
    void treeContextMenu(const QPoint& pos);

    std::shared_ptr<const platform::JavaClass> cl;
    std::vector<platform::JavaMember> m;
    std::vector<platform::JavaMember> ctor;
    QStringList n;
    std::vector<platform::Member> members;  // n's members as values, for the tree's leaves
    QLineEdit* name = nullptr;
    QLineEdit* searchFor = nullptr;
    QString startAt;
    QString name2;
    QWidget* mid = nullptr;
    QStringList classes;
    std::unique_ptr<PathsData> pathsData;
    QTextEdit* ta = nullptr;
    QString docpath;
    QString docpath2;
    app::ConfigOrigin configOrigin;  // what loadConfig saw, for saveConfig
    platform::ScrollPane* span2 = nullptr;
    platform::ScrollPane* span3 = nullptr;
    QPushButton* but = nullptr;
    QRadioButton* c1 = nullptr;
    QRadioButton* c2 = nullptr;
    QPointer<lookup::MemberTreeView> tree;
    QTextCharFormat ma;
    QTextCharFormat ma2;
    app::CompletionPopup* classPopup = nullptr;
    // The SEARCH (or start-up name) waiting for the class index, run when the
    // index is handed over; a newer SEARCH or chosen class replaces it.
    std::function<void()> pendingSearch;
    lookup::CompletionWorker* suggestionWorker = nullptr;
    quint64 suggestionId = 0;      // of the failure view shown last; older answers are dropped
    QLabel* statusLine = nullptr;  // made by the first problem to show
    bool libraryHeld = false;      // see LibraryStart
    app::BrowseHistory history;
    bool restoring = false;  // Back or Forward runs its SEARCH: not a new step
};

// "Java Orvel 1.02a — NAME": the title of a window reading a project.
QString titleWithProject(const QString& title, const QString& projectName);
