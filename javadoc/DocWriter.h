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

namespace javadoc {

// The line under a member's signature.
QString signatureRule();

class DocWriter {
public:
    // The first line and the rule under it.
    void signature(QStringView line);
    // One line of text, indented as the signature.
    void line(QStringView text);
    // A labelled part starts: "PARAMETERS:", "RETURNS:" (already upper case).
    void label(const QString& upperCase);

    const QString& text() const { return text_; }
    qsizetype size() const { return text_.size(); }

private:
    QString text_;
};

}  // namespace javadoc
