#pragma once
// The one shape of a member's documentation text, whichever reader found it:
//   "  " signature
//   "  " rule of 121 dashes
//   "  " text lines, and before each labelled part a line of two blanks and
//   "  " the label in upper case ("PARAMETERS:").
// Every page reader after javadoc 1.2 and the source reader write through it;
// the era reader keeps its own line rules and shares only the rule.

#include <QString>
#include <QStringView>
#include <vector>

#include "javadoc/DocLink.h"

namespace javadoc {

// The line under a member's signature.
QString signatureRule();

class DocWriter {
public:
    // The first line and the rule under it.
    void signature(QStringView line);
    // The same with links on spans of it (offsets within line).
    void signature(QStringView line, const std::vector<DocLink>& spans);
    // One line of text, indented as the signature.
    void line(QStringView text);
    // The same line with links on spans of it (offsets within text); they
    // are kept with the offsets they get in the whole text.
    void line(QStringView text, const std::vector<DocLink>& spans);
    // A labelled part starts: "PARAMETERS:", "RETURNS:" (already upper case).
    void label(const QString& upperCase);

    const QString& text() const { return text_; }
    qsizetype size() const { return text_.size(); }
    // In text order; a reader may leave its targets as the page wrote them
    // for its caller to resolve.
    const std::vector<DocLink>& links() const { return links_; }

private:
    // The spans that lie within a piece of the given length, moved to where
    // the piece starts in the text.
    void keep(const std::vector<DocLink>& spans, qsizetype at, qsizetype length);

    QString text_;
    std::vector<DocLink> links_;
};

}  // namespace javadoc
