#pragma once
// A documentation comment written in Markdown (a run of "///" lines) turned
// into the same page-like markup a /** */ comment carries, so that the rest of
// the source reader (inline tags, {@inheritDoc}, the block tags, the lines the
// page shows) treats both alike. The Markdown understood is the part comments
// use: paragraphs, bullet and ordered lists, code spans, fenced and indented
// code blocks, emphasis, headings, links and references to program elements;
// HTML passes through as HTML.

#include <QString>
#include <QStringView>

#include "javadoc/source/CommentRenderer.h"

namespace javadoc::source {

// The comment's Markdown from its run of lines: each line loses its leading
// blanks and "///", then every line the indentation the least indented
// non-blank line has.
QString markdownCommentBody(QStringView run);

// Splits the Markdown into the main description and the block tags (a line
// starting with "@" outside a code block), each turned into markup.
CommentParts splitMarkdownComment(const QString& markdown);

// Markdown to markup, line for line: the text keeps its line breaks (a code
// span's become blanks, as the page shows them), so that the lines come out
// as the page's extract gives them.
QString markdownToMarkup(const QString& markdown);

}  // namespace javadoc::source
