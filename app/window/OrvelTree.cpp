#include "app/window/OrvelTree.h"

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStandardItemModel>
#include <QTextCursor>
#include <QTextEdit>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <utility>

#include "app/ConfigFile.h"
#include "app/SearchNaming.h"
#include "app/window/CompletionPopup.h"
#include "app/window/DocPathDialog.h"
#include "app/window/LookupFailureView.h"
#include "javadoc/CatalogueLookup.h"
#include "javadoc/DocService.h"
#include "javadoc/SelectionArgs.h"
#include "javadoc/source/ClassFileFacts.h"
#include "javadoc/source/FoundRoots.h"
#include "javadoc/source/SourceDocs.h"
#include "lookup/ClassCompletion.h"
#include "lookup/ClassIndexProvider.h"
#include "lookup/ClassLookup.h"
#include "lookup/CompletionWorker.h"
#include "lookup/MemberTree.h"
#include "lookup/widgets/MemberTreeView.h"
#include "lookup/widgets/PaneColour.h"
#include "platform/JavaText.h"
#include "platform/Version.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/widgets/BorderLayout.h"
#include "platform/widgets/CaptionAboveRadioButton.h"
#include "platform/widgets/JavaFont.h"
#include "platform/widgets/ScrollPane.h"

using platform::BorderLayout;
using platform::setBackgroundColor;
using platform::setForegroundColor;

namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kBlue(0, 0, 255);
const QColor kLightGrey(192, 192, 192);

QFont systemFont(int size)
{
    return platform::javaFont(QStringLiteral("System"), size);
}

// A row of controls side by side, left to right, the row centred.
QWidget* flowRow(QWidget* parent)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(5);
    layout->addStretch(1);
    layout->addStretch(1);
    setBackgroundColor(row, QApplication::palette().color(QPalette::Window));
    return row;
}

void addToRow(QWidget* row, QWidget* control)
{
    auto* layout = static_cast<QHBoxLayout*>(row->layout());
    layout->insertWidget(layout->count() - 1, control);
}

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    setForegroundColor(l, kBlack);
    return l;
}

// A text field as wide as the given number of "m" characters.
QLineEdit* textField(int columns, QWidget* parent)
{
    auto* field = new QLineEdit(parent);
    const int charWidth = field->fontMetrics().horizontalAdvance(QLatin1Char('m'));
    const QMargins margins = field->textMargins();
    field->setFixedWidth(columns * charWidth + margins.left() + margins.right() + 8);
    return field;
}

void writeLine(FILE* stream, const QString& text)
{
    const QByteArray bytes = (text + QLatin1Char('\n')).toUtf8();
    std::fwrite(bytes.constData(), 1, bytes.size(), stream);
    std::fflush(stream);
}

}  // namespace

orvel_tree* orvel_tree::main(LibraryStart start)
{
    return new orvel_tree(start);
}

orvel_tree::orvel_tree(LibraryStart start) : libraryHeld(start == LibraryStart::Held)
{
    // The steps run in this order: the rows need the fields, the panes go in
    // after the configuration is read and the window first shown.
    buildFields();
    QWidget* top = buildControlRows();
    buildFrame(top);
    loadStartState();
    buildPanes();
    buildTextFormats();
}

void orvel_tree::buildFields()
{
    exitProcess = [](int status) { QCoreApplication::exit(status); };
    n.clear();
    name = textField(20, this);
    searchFor = textField(10, this);

    setWindowTitle(QStringLiteral("Java Orvel " JO_VERSION));
    setBackgroundColor(this, kBlack);

    setBackgroundColor(name, kWhite);
    setForegroundColor(name, kBlue);
    // Enter in the class field reports the field's text as its command, which
    // is never one of the three command texts.
    connect(name, &QLineEdit::returnPressed, this, [this] { actionPerformed({name, name->text()}); });
    setBackgroundColor(searchFor, kWhite);
    setForegroundColor(searchFor, kBlue);
}

QWidget* orvel_tree::buildControlRows()
{
    const QFont f14 = systemFont(14);
    const QFont f13 = systemFont(13);
    const QFont f12 = systemFont(12);

    auto* top = new QWidget(this);
    QWidget* classRow = flowRow(top);
    QWidget* searchRow = flowRow(top);

    QPushButton* docPathButton = makeButton(QStringLiteral("Doc Path"), QStringLiteral("Doc Path"));
    docPathButton->setFont(f12);
    setForegroundColor(docPathButton, kBlue);

    QPushButton* clearButton = makeButton(QStringLiteral("Clr"), QStringLiteral("Clear"));
    setForegroundColor(clearButton, kBlack);
    clearButton->setFont(f13);

    QLabel* classLabel = label(QStringLiteral("CLASS :"), classRow);
    classLabel->setFont(f14);
    addToRow(classRow, classLabel);
    addToRow(classRow, name);
    addToRow(classRow, label(QStringLiteral("    "), classRow));

    c1 = new platform::CaptionAboveRadioButton(QStringLiteral("Main"), classRow);
    c1->setChecked(true);
    c1->setFont(f12);
    setForegroundColor(c1, kBlue);
    c1->setToolTip(QStringLiteral("Set MAIN documentation path"));
    c2 = new platform::CaptionAboveRadioButton(QStringLiteral("Swing"), classRow);
    c2->setFont(f12);
    setForegroundColor(c2, kBlue);
    c2->setToolTip(QStringLiteral("Set SWING documentation path"));
    auto* group = new QButtonGroup(this);
    group->addButton(c1);
    group->addButton(c2);
    addToRow(classRow, c1);
    addToRow(classRow, c2);
    addToRow(classRow, docPathButton);

    QLabel* searchLabel = label(QStringLiteral("Search Text (optional) :"), searchRow);
    searchLabel->setFont(f13);
    addToRow(searchRow, searchLabel);
    addToRow(searchRow, searchFor);
    addToRow(searchRow, label(QStringLiteral("      "), searchRow));

    but = makeButton(QStringLiteral("SEARCH"), QStringLiteral(" Search "));
    setForegroundColor(but, kBlack);
    addToRow(searchRow, clearButton);
    addToRow(searchRow, label(QStringLiteral("   "), searchRow));
    addToRow(searchRow, but);

    auto* topLayout = new BorderLayout(top);
    topLayout->addWidget(classRow, BorderLayout::North);
    topLayout->addWidget(searchRow, BorderLayout::South);
    return top;
}

void orvel_tree::buildFrame(QWidget* top)
{
    auto* content = new BorderLayout(this);
    content->setContentsMargins(5, 5, 5, 5);
    // The window keeps the size it is given; rows that do not fit are cut, not
    // allowed to widen the window.
    content->setSizeConstraint(QLayout::SetNoConstraint);
    setBackgroundColor(top, kBlack);

    pathsData = std::make_unique<PathsData>();

    mid = new QWidget(this);
    new BorderLayout(mid);
    content->addWidget(top, BorderLayout::North);
    content->addWidget(mid, BorderLayout::Center);

    move(260, 20);
    resize(535, 550);
}

QString titleWithProject(const QString& title, const QString& projectName)
{
    return projectName.isEmpty() ? title : title + QStringLiteral(" \u2014 ") + projectName;
}

void orvel_tree::showProject(const QString& projectName, const QString& problem)
{
    setWindowTitle(titleWithProject(windowTitle(), projectName));
    if (!problem.isEmpty())
        showStatus(problem);
}

void orvel_tree::showStatus(const QString& text)
{
    if (!statusLine) {
        statusLine = label(QString(), this);
        setBackgroundColor(statusLine, QApplication::palette().color(QPalette::Window));
        statusLine->setAutoFillBackground(true);
        static_cast<BorderLayout*>(layout())->addWidget(statusLine, BorderLayout::South);
    }
    statusLine->setText(text);
    statusLine->setToolTip(text);
}

QString orvel_tree::statusText() const
{
    return statusLine ? statusLine->text() : QString();
}

void orvel_tree::loadStartState()
{
    classes = QStringList(25);
    docpath = QString();
    docpath2 = QString();
    loadConfig();
    show();
}

void orvel_tree::buildPanes()
{
    auto* midLayout = static_cast<BorderLayout*>(mid->layout());
    span2 = new platform::ScrollPane(mid);
    span2->setPreferredSize(QSize(475, 260));
    span2->setMaximumPaneSize(QSize(475, 360));
    span2->setBackground(QApplication::palette().color(QPalette::Window));
    span3 = new platform::ScrollPane(mid);
    span3->setPreferredSize(QSize(475, 160));
    span3->setMaximumPaneSize(QSize(475, 160));
    midLayout->addWidget(span2, BorderLayout::Center);

    ta = new QTextEdit(span3);
    ta->setReadOnly(true);
    ta->setPlainText(QString());
    QPalette p = ta->palette();
    p.setColor(QPalette::Highlight, lookup::kPaneBackground);
    p.setColor(QPalette::HighlightedText, kBlue);
    p.setColor(QPalette::Text, kBlue);
    p.setColor(QPalette::Base, lookup::kPaneBackground);
    ta->setPalette(p);
    span3->setBackground(kLightGrey);
    span3->setEmptyBorder(5, 0, 0, 0);
    span3->viewportAdd(ta);
    midLayout->addWidget(span3, BorderLayout::South);
}

void orvel_tree::buildTextFormats()
{
    name2 = QString();
    name->setFocus();

    ma = QTextCharFormat();
    ma.setForeground(kBlue);
    ma.setFont(systemFont(12), QTextCharFormat::FontPropertiesSpecifiedOnly);
    ta->setCurrentCharFormat(ma);
    ma2 = ma;
    ma2.setFontWeight(QFont::Bold);
    attachClassCompletion();
    attachBrowsing();
}

orvel_tree::~orvel_tree()
{
    qApp->removeEventFilter(this);
}

QPushButton* orvel_tree::makeButton(const QString& caption, const QString& command)
{
    auto* button = new QPushButton(caption, this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, button, command] { actionPerformed({button, command}); });
    return button;
}

void orvel_tree::autoStart(const QString& text)
{
    startAt = QString();
    pendingSearch = nullptr;
    if (loadTxt(text))
        return autoStartWith(startAt);
    if (const auto completion = libraryHeld ? nullptr : lookup::ClassIndexProvider::system().completion())
        return autoStartWith(completion->resolve(text));
    pendingSearch = [this, text] { autoStart(text); };
}

void orvel_tree::autoStartWith(const QString& classText)
{
    searchFor->setText(QString());
    name->setText(classText);
    if (!classText.isEmpty())
        search();
}

void orvel_tree::showIt()
{
    show();
}
void orvel_tree::hideIt()
{
    hide();
}

bool orvel_tree::loadTxt(const QString& text)
{
    return javadoc::loadTxt(*pathsData, text, startAt);
}

void orvel_tree::actionPerformed(const ActionEvent& e)
{
    const QString command = e.source == name ? QString() : e.command;
    if (command == QLatin1String(" Search ")) {
        classPopup->close();
        searchName(name->text());
    } else if (command == QLatin1String("Doc Path")) {
        docPathCommand();
    } else if (command == QLatin1String("Clear")) {
        name->setText(QString());
        searchFor->setText(QString());
        name->setFocus();
    }
    name->setFocus();
}

void orvel_tree::docPathCommand()
{
    const bool mainRoot = c1->isChecked();
    const QString current = mainRoot ? docpath : docpath2;
    const std::optional<QString> entered = app::askDocumentationPath(this, current);
    if (entered) {
        if (c1->isChecked())
            docpath = *entered;
        else
            docpath2 = *entered;
    }
    but->setFocus();
    name->setFocus();
}

void orvel_tree::loadConfig()
{
    if (!app::loadConfig(QString::fromLatin1(app::kConfigFileName), docpath, docpath2, &configOrigin))
        writeLine(stderr, QString::fromLatin1(app::kConfigReadError));
}

void orvel_tree::saveConfig()
{
    // A failed save stays silent; the previous file is left whole, and so is
    // one that could not be read while the roots are unchanged.
    app::saveConfig(QString::fromLatin1(app::kConfigFileName), docpath, docpath2, &configOrigin);
}

void orvel_tree::closeEvent(QCloseEvent* event)
{
    saveConfig();
    event->accept();
    exitProcess(0);
}

void orvel_tree::searchName(const QString& typed)
{
    pendingSearch = nullptr;
    QString fieldText = typed;
    if (app::completeSearchName(*pathsData, fieldText, startAt, name2)) {
        name->setText(fieldText);
        return search();
    }
    if (const auto completion = libraryHeld ? nullptr : lookup::ClassIndexProvider::system().completion()) {
        if (app::completeFromIndex(*completion, fieldText, name2))
            name->setText(fieldText);
        return search();
    }
    // Before the index is ready: a qualified name the library has as written
    // is shown at once; anything else waits for the index, and is dropped if
    // the field no longer holds it then.
    if (!libraryHeld && typed.contains(QLatin1Char('.'))) {
        lookup::LookupResult direct = lookup::lookUpClass(platform::classlib::ClassLibrary::system(), typed);
        if (direct.status != lookup::LookupResult::Status::NotFound)
            return showLookup(std::move(direct));
    }
    pendingSearch = [this, typed] {
        if (name->text() == typed)
            searchName(typed);
    };
}

void orvel_tree::search()
{
    if (libraryHeld) {
        pendingSearch = [this] { search(); };
        return;
    }
    showLookup(lookup::lookUpClass(platform::classlib::ClassLibrary::system(), name->text()));
}

void orvel_tree::showLookup(lookup::LookupResult result)
{
    if (result.status != lookup::LookupResult::Status::Blank)
        recordStep();
    switch (result.status) {
    case lookup::LookupResult::Status::Blank:
        n = QStringList();
        members.clear();
        return;
    case lookup::LookupResult::Status::NotFound:
        writeLine(stdout, result.message);
        if (const QString why = platform::classLibraryNotFoundWarning(); !why.isEmpty())
            writeLine(stderr, why);
        // The old tree makes way for the message and the suggestions; the
        // documentation pane stays, and the next successful lookup shows a tree again.
        showFailure(result.message, platform::javaTrim(name->text()));
        return;
    case lookup::LookupResult::Status::Unreadable:
        writeLine(stderr, result.message);
        showFailure(result.message, QString());
        return;
    case lookup::LookupResult::Status::Found:
        break;
    }
    if (!result.binaryName.isEmpty())
        name->setText(result.binaryName);  // "java.util.Map.Entry" found as "java.util.Map$Entry"
    cl = std::move(result.cl);
    m = std::move(result.m);
    ctor = std::move(result.ctor);
    n = std::move(result.n);
    members = std::move(result.members);
    reDisplay();
    if (!restoring)
        history.updateCurrent({name->text(), searchFor->text(), name2, std::nullopt, 0});
}

void orvel_tree::showRelease(int release)
{
    setWindowTitle(QStringLiteral("Java Orvel " JO_VERSION " \u2014 Java SE ") + QString::number(release));
}

void orvel_tree::reDisplay()
{
    // "since:N" asks every release the JDK holds about the class: only then.
    lookup::SinceTable since;
    if (cl && lookup::sinceFilterRelease(searchFor->text()) != 0)
        since = lookup::sinceTableOf(platform::classlib::ClassLibrary::system(), cl->getName());
    const lookup::MemberNode root = lookup::buildMemberTree(members, searchFor->text(), name->text(), classes, &since);
    span2->viewportRemoveAll();
    tree = new lookup::MemberTreeView(root);
    connect(tree, &lookup::MemberTreeView::valueChanged, this, &orvel_tree::valueChanged);
    tree->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(tree, &QWidget::customContextMenuRequested, this, &orvel_tree::treeContextMenu);
    span2->setViewportBackground(lookup::kPaneBackground);
    span2->viewportAdd(tree);
    update();
    show();
}

// The documentation pane shows what the documentation service finds for the
// selection: the roots' page, else the Java source.
void orvel_tree::valueChanged(const QStringList& pathTexts, const std::optional<platform::Member>& member)
{
    std::optional<javadoc::SelectionArgs> args = javadoc::deriveSelection(pathTexts);
    if (!args)
        return;
    javadoc::DocSelection selection;
    selection.args = std::move(*args);
    selection.member = member;
    selection.leafText = platform::javaTrim(pathTexts.last());
    selection.nameText = name->text();
    selection.name2 = name2;
    selection.selectionCount = tree ? tree->getSelectionCount() : 0;
    javadoc::DocService service(
        {docpath, docpath2, javadoc::source::foundDocRoots(javadoc::source::selectedClass(selection))},
        &javadoc::source::systemSourceReader());
    service.setMemberFacts(&javadoc::source::systemMemberFacts());
    const std::optional<javadoc::MemberDoc> doc = service.document(selection);
    if (doc) {
        const QString& text = doc->text;
        ta->setPlainText(text);
        QTextCursor cursor(ta->document());
        cursor.select(QTextCursor::Document);
        cursor.setCharFormat(ma);
        const qsizetype lineEnd = ta->toPlainText().indexOf(QLatin1Char('\n'));
        if (lineEnd > 0) {
            cursor.setPosition(0);
            cursor.setPosition(int(lineEnd), QTextCursor::KeepAnchor);
            cursor.setCharFormat(ma2);
        }
        showLinks(doc->links);
        QTextCursor caret = ta->textCursor();
        caret.setPosition(0);
        ta->setTextCursor(caret);
    }
    name->setFocus();
}

// The class index is built off the event thread from the moment the window
// opens; until it is handed over the field shows no completion list, and a
// SEARCH that needs it waits for it (pendingSearch).
void orvel_tree::attachClassCompletion()
{
    if (!libraryHeld)
        attachClassIndex();
    classPopup = new app::CompletionPopup(
        name, [this] { return libraryHeld ? nullptr : lookup::ClassIndexProvider::system().completion(); });
    classPopup->setHeld(libraryHeld);
    connect(classPopup, &app::CompletionPopup::chosen, this, &orvel_tree::lookUpChosen);
    connect(classPopup, &app::CompletionPopup::methodChosen, this,
        [this](const QString& binaryName, const app::MemberRef& method) { openTarget(binaryName, method); });
    suggestionWorker = new lookup::CompletionWorker(this);
    connect(suggestionWorker, &lookup::CompletionWorker::answered, this, &orvel_tree::showSuggestions);
}

void orvel_tree::attachClassIndex()
{
    lookup::ClassIndexProvider& provider = lookup::ClassIndexProvider::system();
    connect(&provider, &lookup::ClassIndexProvider::ready, this, [this] {
        if (const std::function<void()> run = std::exchange(pendingSearch, nullptr))
            run();
    });
}

void orvel_tree::releaseLibrary()
{
    if (!std::exchange(libraryHeld, false))
        return;
    classPopup->setHeld(false);
    attachClassIndex();
    // What waited may run now, or waits again for the index.
    if (const std::function<void()> run = std::exchange(pendingSearch, nullptr))
        run();
}

// A class chosen from the completion list or the suggestions: treated as an
// index hit of SEARCH (the field and name2 take its name), then looked up.
void orvel_tree::lookUpChosen(const QString& binaryName)
{
    pendingSearch = nullptr;
    const QString s = app::toOldSwingNaming(binaryName);
    name2 = platform::javaTrim(s);
    name->setText(s);
    search();
    name->setFocus();
}

app::LookupFailureView* orvel_tree::failureView() const
{
    return qobject_cast<app::LookupFailureView*>(span2->view());
}

void orvel_tree::showFailure(const QString& message, const QString& className)
{
    span2->viewportRemoveAll();
    tree = nullptr;
    auto* view = new app::LookupFailureView(message);
    // The suggestions scan the whole index and read class files: off the event thread.
    ++suggestionId;
    if (const auto completion = lookup::ClassIndexProvider::system().completion(); completion && !className.isEmpty())
        suggestionWorker->ask(suggestionId, lookup::CompletionWorker::Query::Suggest, completion, className,
            app::LookupFailureView::kMaxSuggestions);
    // Queued: the lookup it starts replaces the view whose button is clicked.
    connect(view, &app::LookupFailureView::chosen, this, &orvel_tree::lookUpChosen, Qt::QueuedConnection);
    span2->setViewportBackground(lookup::kPaneBackground);
    span2->viewportAdd(view);
    update();
    show();
}

void orvel_tree::showSuggestions(quint64 id, const std::vector<lookup::ClassChoice>& choices)
{
    if (app::LookupFailureView* view = failureView(); view && id == suggestionId)
        view->setSuggestions(choices);
}

void orvel_tree::openTarget(const QString& binaryClassName, const std::optional<app::MemberRef>& member)
{
    classPopup->close();
    // A followed link or a chosen method shows its whole class: the search
    // text that narrowed the last class would hide the target (Back restores it).
    searchFor->clear();
    lookUpChosen(binaryClassName);
    if (member && tree)
        selectMember(*member);
    name->setFocus();
}

// Back and Forward: Alt+Left and Alt+Right anywhere in the window, and the
// mouse's own buttons. Ctrl with the arrows and page keys in the class field
// browses the tree and the documentation without leaving the field. Links in
// the documentation open on a click.
void orvel_tree::attachBrowsing()
{
    auto* back = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this);
    connect(back, &QShortcut::activated, this, [this] { goBack(); });
    auto* forward = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this);
    connect(forward, &QShortcut::activated, this, [this] { goForward(); });
    name->setToolTip(QStringLiteral("A class, or \u201cClass#method\u201d / \u201c#method\u201d for methods.\n"
                                    "Ctrl+Down / Ctrl+Up: next / previous member\n"
                                    "Ctrl+Right / Ctrl+Left: open / close the group\n"
                                    "Ctrl+PageDown / Ctrl+PageUp: scroll the documentation\n"
                                    "Alt+Left / Alt+Right: back / forward"));
    ta->viewport()->setMouseTracking(true);
    ta->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(ta, &QWidget::customContextMenuRequested, this, &orvel_tree::docContextMenu);
    // One filter for the mouse buttons anywhere in the window, the class
    // field's keys and the documentation's links; it runs before the widgets'.
    qApp->installEventFilter(this);
}

bool orvel_tree::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::MouseButtonPress) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        auto* widget = qobject_cast<QWidget*>(watched);
        const bool ours = widget && widget->window() == this;
        if (ours && (mouse->button() == Qt::BackButton || mouse->button() == Qt::ForwardButton)) {
            mouse->button() == Qt::BackButton ? goBack() : goForward();
            return true;
        }
    }
    if (ta && watched == ta->viewport()) {
        if (type == QEvent::MouseMove) {
            const bool onLink = !ta->anchorAt(static_cast<QMouseEvent*>(event)->position().toPoint()).isEmpty();
            ta->viewport()->setCursor(onLink ? Qt::PointingHandCursor : Qt::IBeamCursor);
        } else if (type == QEvent::MouseButtonRelease) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const QString target = ta->anchorAt(mouse->position().toPoint());
            // A drag that ends on a link selects text; only a click opens it.
            if (mouse->button() == Qt::LeftButton && !target.isEmpty() && !ta->textCursor().hasSelection()) {
                const app::BrowseTarget open = app::parseBrowseTarget(target);
                openTarget(open.className, open.member);
                return true;
            }
        }
        return false;
    }
    if (watched == name && type == QEvent::KeyPress)
        return browsingKey(static_cast<QKeyEvent*>(event));
    return false;
}

bool orvel_tree::browsingKey(const QKeyEvent* key)
{
    if ((key->modifiers() & ~Qt::KeypadModifier) != Qt::ControlModifier)
        return false;
    QScrollBar* docScroll = ta->verticalScrollBar();
    switch (key->key()) {
    case Qt::Key_Down:
        stepLeaf(1);
        break;
    case Qt::Key_Up:
        stepLeaf(-1);
        break;
    case Qt::Key_Right:
        openCurrentGroup(true);
        break;
    case Qt::Key_Left:
        openCurrentGroup(false);
        break;
    case Qt::Key_PageDown:
        docScroll->triggerAction(QAbstractSlider::SliderPageStepAdd);
        break;
    case Qt::Key_PageUp:
        docScroll->triggerAction(QAbstractSlider::SliderPageStepSub);
        break;
    default:
        return false;
    }
    return true;
}

namespace {

// The tree's leaves in display order: root, groups, members.
std::vector<QModelIndex> leavesOf(const QAbstractItemModel& model)
{
    std::vector<QModelIndex> leaves;
    const QModelIndex root = model.index(0, 0);
    for (int g = 0; g < model.rowCount(root); ++g) {
        const QModelIndex group = model.index(g, 0, root);
        for (int l = 0; l < model.rowCount(group); ++l) leaves.push_back(model.index(l, 0, group));
    }
    return leaves;
}

std::optional<platform::Member> memberAt(const QModelIndex& index)
{
    const QVariant v = index.data(lookup::kMemberRole);
    return v.canConvert<platform::Member>() ? std::optional(v.value<platform::Member>()) : std::nullopt;
}

QString canonical(const QString& binaryName)
{
    return QString(binaryName).replace(QLatin1Char('$'), QLatin1Char('.'));
}

}  // namespace

void orvel_tree::selectLeaf(const QModelIndex& leaf)
{
    tree->expand(leaf.parent());
    tree->scrollTo(leaf);
    // A tree just made has no layout yet: the row is brought into view again once it has.
    QTimer::singleShot(0, tree, [view = tree, at = QPersistentModelIndex(leaf)] {
        if (view && at.isValid())
            view->scrollTo(at);
    });
    tree->selectionModel()->setCurrentIndex(leaf, QItemSelectionModel::ClearAndSelect);
    name->setFocus();
}

namespace {

// A link's target names parameter types as its page does: simple names
// ("Object[]", "Map.Entry"), and a type variable ("E") where the page gives no
// erasure; a member value names them by binary name ("java.lang.Object[]").
bool parameterFits(QString wanted, QString leafType)
{
    while (wanted.endsWith(QLatin1String("[]")) && leafType.endsWith(QLatin1String("[]"))) {
        wanted.chop(2);
        leafType.chop(2);
    }
    if (wanted == leafType)
        return true;
    const QString simple = leafType.mid(leafType.lastIndexOf(QLatin1Char('.')) + 1);
    if (wanted == simple || wanted == QString(simple).replace(QLatin1Char('$'), QLatin1Char('.')))
        return true;
    // A type variable fits any class type (never a primitive: those have no dot).
    const bool typeVariable = !wanted.isEmpty() && wanted.at(0).isUpper() && !wanted.contains(QLatin1Char('.')) &&
        !wanted.endsWith(QLatin1String("[]"));
    return typeVariable && leafType.contains(QLatin1Char('.'));
}

bool memberFits(const app::MemberRef& ref, const platform::Member& leaf, bool exactTypes)
{
    const bool constructor = ref.name == QLatin1String("<init>");
    if (constructor ? leaf.kind != platform::MemberKind::Constructor : leaf.name != ref.name)
        return false;
    if (!ref.parameterTypes)
        return true;
    if (exactTypes)
        return *ref.parameterTypes == leaf.parameterTypes;
    if (ref.parameterTypes->size() != leaf.parameterTypes.size())
        return false;
    for (qsizetype i = 0; i < ref.parameterTypes->size(); ++i) {
        if (!parameterFits(ref.parameterTypes->at(i), leaf.parameterTypes.at(i)))
            return false;
    }
    return true;
}

}  // namespace

bool orvel_tree::selectMember(const app::MemberRef& ref)
{
    if (!tree)
        return false;
    const std::vector<QModelIndex> leaves = leavesOf(*tree->model());
    // Reflection's own names first (history, the method list), then a page's spelling.
    for (const bool exact : {true, false}) {
        for (const QModelIndex& leaf : leaves) {
            const std::optional<platform::Member> leafMember = memberAt(leaf);
            if (leafMember && memberFits(ref, *leafMember, exact)) {
                selectLeaf(leaf);
                return true;
            }
        }
    }
    return false;
}

void orvel_tree::stepLeaf(int direction)
{
    if (!tree)
        return;
    const std::vector<QModelIndex> leaves = leavesOf(*tree->model());
    if (leaves.empty())
        return;
    const QModelIndex current = tree->currentIndex();
    // From a leaf, its neighbour; from a group, its first leaf or the last one
    // before it; from the root or nothing, the first or the last leaf.
    const auto at = std::find(leaves.begin(), leaves.end(), current);
    const bool onGroup = current.isValid() && current.parent().isValid() && at == leaves.end();
    const qsizetype count = qsizetype(leaves.size());
    qsizetype next = direction > 0 ? 0 : count - 1;
    if (at != leaves.end()) {
        next = (at - leaves.begin()) + direction;
    } else if (onGroup) {
        const auto first = std::find_if(
            leaves.begin(), leaves.end(), [&](const QModelIndex& l) { return l.parent().row() >= current.row(); });
        next = (first - leaves.begin()) - (direction > 0 ? 0 : 1);
    }
    if (next >= 0 && next < count)
        selectLeaf(leaves[size_t(next)]);
}

void orvel_tree::openCurrentGroup(bool open)
{
    if (!tree)
        return;
    QModelIndex group = tree->currentIndex();
    if (memberAt(group))
        group = group.parent();
    if (!group.isValid() || !group.parent().isValid())
        group = tree->model()->index(0, 0, tree->model()->index(0, 0));  // the first group
    if (group.isValid())
        tree->setExpanded(group, open);
    name->setFocus();
}

void orvel_tree::showLinks(const std::vector<javadoc::DocLink>& links)
{
    const int end = ta->document()->characterCount() - 1;
    for (const javadoc::DocLink& link : links) {
        if (link.start < 0 || link.length <= 0 || link.start + link.length > end)
            continue;  // a span past the text is left plain
        QTextCursor cursor(ta->document());
        cursor.setPosition(int(link.start));
        cursor.setPosition(int(link.start + link.length), QTextCursor::KeepAnchor);
        QTextCharFormat anchor;
        anchor.setAnchor(true);
        anchor.setAnchorHref(link.target);
        anchor.setFontUnderline(true);
        cursor.mergeCharFormat(anchor);
    }
}

void orvel_tree::docContextMenu(const QPoint& pos)
{
    const QString target = ta->anchorAt(pos);
    std::unique_ptr<QMenu> menu(target.isEmpty() ? ta->createStandardContextMenu(pos) : new QMenu(ta));
    if (!target.isEmpty())
        menu->addAction(QStringLiteral("Copy link target"), [target] { QApplication::clipboard()->setText(target); });
    menu->exec(ta->viewport()->mapToGlobal(pos));
}

void orvel_tree::treeContextMenu(const QPoint& pos)
{
    const std::optional<platform::Member> leafMember = tree ? memberAt(tree->indexAt(pos)) : std::nullopt;
    if (!leafMember)
        return;
    const QString qualified = leafMember->kind == platform::MemberKind::Constructor
        ? canonical(leafMember->declaringClass)
        : canonical(leafMember->declaringClass) + QLatin1Char('.') + leafMember->name;
    QMenu menu(tree);
    menu.addAction(
        QStringLiteral("Copy signature"), [s = leafMember->printed] { QApplication::clipboard()->setText(s); });
    menu.addAction(
        QStringLiteral("Copy qualified name"), [qualified] { QApplication::clipboard()->setText(qualified); });
    menu.exec(tree->viewport()->mapToGlobal(pos));
}

// A step is left as it shows now (its selected member, the documentation's
// scroll position), so that coming back shows the same view.
void orvel_tree::keepCurrentView()
{
    const app::BrowseStep* current = history.current();
    if (!current)
        return;
    app::BrowseStep step = *current;
    step.member.reset();
    if (tree && tree->getSelectionCount() > 0)
        if (const std::optional<platform::Member> leafMember = memberAt(tree->currentIndex()))
            step.member = app::MemberRef {leafMember->name, leafMember->parameterTypes};
    step.docScroll = ta->verticalScrollBar()->value();
    history.updateCurrent(step);
}

void orvel_tree::recordStep()
{
    if (restoring)
        return;
    keepCurrentView();
    history.record({name->text(), searchFor->text(), name2, std::nullopt, 0});
}

bool orvel_tree::goBack()
{
    keepCurrentView();
    const std::optional<app::BrowseStep> step = history.back();
    if (step)
        restoreStep(*step);
    return step.has_value();
}

bool orvel_tree::goForward()
{
    keepCurrentView();
    const std::optional<app::BrowseStep> step = history.forward();
    if (step)
        restoreStep(*step);
    return step.has_value();
}

void orvel_tree::restoreStep(const app::BrowseStep& step)
{
    classPopup->close();
    pendingSearch = nullptr;
    restoring = true;
    name->setText(step.classText);
    searchFor->setText(step.searchText);
    name2 = step.docName;
    search();
    if (step.member)
        selectMember(*step.member);
    restoring = false;
    ta->verticalScrollBar()->setValue(step.docScroll);
    name->setFocus();
}
