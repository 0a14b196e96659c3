#include "app/window/OrvelTree.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QTextEdit>
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

orvel_tree* orvel_tree::main()
{
    return new orvel_tree();
}

orvel_tree::orvel_tree()
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
    if (problem.isEmpty())
        return;
    if (!statusLine) {
        statusLine = label(QString(), this);
        setBackgroundColor(statusLine, QApplication::palette().color(QPalette::Window));
        statusLine->setAutoFillBackground(true);
        static_cast<BorderLayout*>(layout())->addWidget(statusLine, BorderLayout::South);
    }
    statusLine->setText(problem);
    statusLine->setToolTip(problem);
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
}

orvel_tree::~orvel_tree() = default;

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
    if (const auto completion = lookup::ClassIndexProvider::system().completion())
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
    if (const auto completion = lookup::ClassIndexProvider::system().completion()) {
        if (app::completeFromIndex(*completion, fieldText, name2))
            name->setText(fieldText);
        return search();
    }
    // Before the index is ready: a qualified name the library has as written
    // is shown at once; anything else waits for the index, and is dropped if
    // the field no longer holds it then.
    if (typed.contains(QLatin1Char('.'))) {
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
    showLookup(lookup::lookUpClass(platform::classlib::ClassLibrary::system(), name->text()));
}

void orvel_tree::showLookup(lookup::LookupResult result)
{
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
    const javadoc::DocService service(
        {docpath, docpath2, javadoc::source::foundDocRoots(javadoc::source::selectedClass(selection))},
        &javadoc::source::systemSourceReader());
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
    lookup::ClassIndexProvider& provider = lookup::ClassIndexProvider::system();
    connect(&provider, &lookup::ClassIndexProvider::ready, this, [this] {
        if (const std::function<void()> run = std::exchange(pendingSearch, nullptr))
            run();
    });
    classPopup = new app::CompletionPopup(name, [] { return lookup::ClassIndexProvider::system().completion(); });
    connect(classPopup, &app::CompletionPopup::chosen, this, &orvel_tree::lookUpChosen);
    suggestionWorker = new lookup::CompletionWorker(this);
    connect(suggestionWorker, &lookup::CompletionWorker::answered, this, &orvel_tree::showSuggestions);
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
