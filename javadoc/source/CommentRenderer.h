#pragma once
// A /** */ comment as javadoc reads it: the main description and the block
// tags, and the inline tags turned into what the HTML page shows, so that the
// text comes out line for line as the page's extract gives it.

#include <QString>
#include <QStringList>
#include <QStringView>
#include <functional>
#include <vector>

#include "javadoc/source/JavaSourceScanner.h"

namespace javadoc::source {

struct CommentTag {
    QString name;  // without "@": "param", "return", "throws", ...
    QString text;  // the rest of the tag, lines joined with "\n"
};

struct CommentParts {
    QString description;  // before the first block tag; inline tags still in it
    std::vector<CommentTag> tags;

    // The first tag of that name ("" when none), or with that first word.
    const CommentTag* find(const QString& name, const QString& firstWord = QString()) const;
};

// Splits a comment's text (between "/**" and "*/"): each line loses its
// leading blanks and "*"s; a block tag starts a line with "@" outside an
// inline tag and outside <pre>.
CommentParts splitComment(const QString& commentBody);
// The same for a comment of either syntax: Markdown comes out as markup.
CommentParts splitComment(const QString& commentBody, CommentSyntax syntax);

// A tag's text cut after its first word: "e the element" → ("e", "the element").
std::pair<QString, QString> firstWord(const QString& text);

// A reference and its label: "#wait(long, int) the wait" → ("#wait(long, int)", "the wait").
std::pair<QString, QString> splitReference(const QString& text);

// The label javadoc shows for a {@link}/@see reference: "java.util.List#add(Object)"
// → "List.add(Object)", "#size()" → "size()".
QString referenceLabel(const QString& reference);

// Text as page markup shows it literally: "<", ">" and "&" escaped; with
// `braces` a "{" too, so that no inline tag can start inside it (code spans).
void appendMarkupEscaped(QString& out, QStringView text, bool braces = false);

// {@value REF} answers: the constant's value as the page prints it, or "".
using ValueLookup = std::function<QString(const QString& reference)>;

// Inline tags to the page's markup: {@code}/{@literal} escaped so that they
// survive the tag removal, {@link} as its label, {@value} through `value`.
// {@inheritDoc} must have been replaced already; any left over is dropped.
// With linkRefs, each {@link}/{@linkplain} label is put between kLinkOpen and
// kLinkClose and its reference appended, so that the label's place can be
// found in the lines (SourceLinks.h).
QString renderInlineTags(const QString& raw, const ValueLookup& value = {}, QStringList* linkRefs = nullptr);

// Noncharacters: no comment has a use for them, and neither markup nor trim touches them.
inline constexpr char16_t kLinkOpen = 0xFDD0;
inline constexpr char16_t kLinkClose = 0xFDD1;

// Markup to the lines the page's extract shows: tags removed, entities
// decoded, each line trimmed, empty lines dropped.
QStringList markupLines(const QString& markup);

// Replaces every {@inheritDoc} in raw with `inherited` (at most 16 of them);
// the result is cut at kMaxDocChars, however many copies that leaves whole.
QString replaceInheritDoc(const QString& raw, const QString& inherited);
bool hasInheritDoc(const QString& raw);

}  // namespace javadoc::source
