#pragma once
// java.io.StreamTokenizer over a string, with its default syntax table, so that
// signature texts split into exactly the tokens the Java class would give:
//   word:        a-z A-Z U+00A0-U+00FF and every code unit above U+00FF
//   numeric:     0-9 . -   (numbers are parsed into a double, Java's way)
//   white space: U+0000-U+0020
//   comment:     /         (the rest of the line is skipped)
//   quote:       " and '
//   ordinary:    everything else (and whatever ordinaryChar() makes ordinary)
// Only the default syntax is reproduced; the configuration calls that signature
// stripping never makes (wordChars, eolIsSignificant, slashSlashComments, ...) are left out.

#include <QString>

namespace platform {

class StreamTokenizer {
public:
    static constexpr int TT_EOF = -1;
    static constexpr int TT_EOL = '\n';
    static constexpr int TT_NUMBER = -2;
    static constexpr int TT_WORD = -3;

    explicit StreamTokenizer(const QString& text);

    // Makes ch a one-character token of its own (ignored outside 0..255, as in Java).
    void ordinaryChar(int ch);

    // Reads the next token; its kind is also left in ttype. At the end of the text
    // returns TT_EOF, and keeps returning it.
    int nextToken();

    int ttype = -4;  // Java's TT_NOTHING before the first token
    QString sval;    // word text, or quoted text (escapes processed) for a quote token
    double nval = 0;

private:
    static constexpr int NEED_CHAR = 0x7FFFFFFF;

    int read();

    const QString text_;
    qsizetype pos_ = 0;
    int peekc_ = NEED_CHAR;
    unsigned char ctype_[256];
};

}  // namespace platform
