#pragma once
// Shortens a printed member signature: every dotted name is cut to its last part
// ("java.lang.String" -> "String"), and the qualifier the member is grouped under
// is worked out on the way (the declaring class of a method, the package of a
// constructor's class). The qualifier of the last strip() is kept process-wide.

#include <QString>
#include <optional>

#include "platform/StreamTokenizer.h"

namespace lookup {

class StripQualifiers {
public:
    // Tokenizes s with the tokenizer's default syntax and the blank made ordinary;
    // gives the shared qualifier buffer a new, empty content.
    explicit StripQualifiers(const QString& s);
    virtual ~StripQualifiers() = default;

    // The next token's text: a word as read, a number as Double.toString writes it,
    // anything else as its one character (a quoted string gives only its quote).
    // Nothing at the end of the text.
    virtual std::optional<QString> getNext();

    // The qualifier left by the most recent strip() ("" after a bare construction).
    static QString getQualifier();

    // The short form of s; the qualifier of s is left for getQualifier().
    static QString strip(const QString& s);

    // The short form of a text of type names ("java.util.Map$Entry[]" ->
    // "Map$Entry[]"), cut as strip() cuts them but leaving the qualifier
    // alone: safe on any thread.
    static QString stripNames(const QString& s);

private:
    static std::optional<QString> nextToken(platform::StreamTokenizer& st);
    // Every token of st with the dotted names cut to their last part.
    static QString shortTokens(platform::StreamTokenizer& st);

    platform::StreamTokenizer st;
    // Not thread-safe by design: strip() and the getQualifier() after it form one
    // step on the GUI thread.
    static QString sbq;
};

}  // namespace lookup
