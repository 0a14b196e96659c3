#include "javadoc/source/JavaSourceScanner.h"

#include <algorithm>

#include "javadoc/source/MarkdownComment.h"

namespace javadoc::source {

namespace {

// Nested type declarations deeper than this are skipped as blocks: a real
// file nests a handful, a hostile one could exhaust the stack.
constexpr int kMaxTypeDepth = 48;
// Text past this is not read: tokens hold 32-bit positions and 30-bit
// lengths (the source reader stops at 16 MB long before).
constexpr qsizetype kMaxScannedChars = (qsizetype(1) << 30) - 1;
// Members kept from one file: the JDK's largest class declares a few
// hundred; a hostile file of millions of tiny declarations stays bounded.
constexpr size_t kMaxMembers = 1 << 16;

int hexValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= '0' && u <= '9')
        return u - '0';
    if (u >= 'a' && u <= 'f')
        return u - 'a' + 10;
    if (u >= 'A' && u <= 'F')
        return u - 'A' + 10;
    return -1;
}

bool isIdentStart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' || u == '$';
    return c.isLetter() || c.isHighSurrogate();
}

bool isIdentPart(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 128)
        return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '_' || u == '$';
    return isIdentStart(c) || c.isDigit() || c.isMark() || c.isLowSurrogate();
}

// Where "*/" starts at or after `from`, or -1.
qsizetype commentEnd(QStringView text, qsizetype from)
{
    const qsizetype n = text.size();
    for (qsizetype i = from; i + 1 < n; ++i)
        if (text[i] == QLatin1Char('*') && text[i + 1] == QLatin1Char('/'))
            return i;
    return -1;
}

bool startsWithTripleQuote(QStringView text, qsizetype i)
{
    return i + 2 < text.size() && text[i] == QLatin1Char('"') && text[i + 1] == QLatin1Char('"') &&
        text[i + 2] == QLatin1Char('"');
}

// A file holds about one token for every two to four characters: eight bytes
// a token keep the list within a few times the text's own size.
struct Token {
    enum Kind { Ident, Punct, Literal, End };
    quint32 start = 0;
    quint32 length : 30 = 0;
    Kind kind : 2 = End;
};
static_assert(sizeof(Token) == 8);

// A /** */ comment or a run of /// lines, and the token right after it; a
// token has at most one, the last before it (the compiler's choice too).
struct DocComment {
    quint32 start = 0;
    quint32 length = 0;
    quint32 token = 0;
    CommentSyntax syntax = CommentSyntax::Traditional;
};

// Whether only blanks stand between the line's start and `at`.
bool startsItsLine(QStringView text, qsizetype at)
{
    for (qsizetype i = at - 1; i >= 0; --i) {
        if (text[i] == QLatin1Char('\n') || text[i] == QLatin1Char('\r'))
            return true;
        if (text[i] != QLatin1Char(' ') && text[i] != QLatin1Char('\t') && text[i] != QLatin1Char('\f'))
            return false;
    }
    return true;
}

qsizetype lineEnd(QStringView text, qsizetype from)
{
    while (from < text.size() && text[from] != QLatin1Char('\n') && text[from] != QLatin1Char('\r')) ++from;
    return from;
}

// The end of the run of /// lines that starts at `at`: the next line
// continues it when it holds only blanks and then "///".
qsizetype markdownRunEnd(QStringView text, qsizetype at)
{
    qsizetype end = lineEnd(text, at);
    for (;;) {
        qsizetype next = end;
        if (next < text.size() && text[next] == QLatin1Char('\r'))
            ++next;
        if (next < text.size() && text[next] == QLatin1Char('\n'))
            ++next;
        if (next == end)
            return end;
        while (next < text.size() &&
            (text[next] == QLatin1Char(' ') || text[next] == QLatin1Char('\t') || text[next] == QLatin1Char('\f')))
            ++next;
        if (!text.mid(next).startsWith(QLatin1String("///")))
            return end;
        end = lineEnd(text, next);
    }
}

class Lexer {
public:
    explicit Lexer(QStringView text) : text_(text) { }

    // The tokens end with an End token at the text's end.
    void run(std::vector<Token>& tokens, std::vector<DocComment>& docs)
    {
        const qsizetype n = text_.size();
        qsizetype i = 0;
        while (i < n) {
            const QChar c = text_[i];
            if (c.unicode() <= ' ' || c == QChar(0xFEFF) || c == QChar(0x1A)) {
                ++i;
                continue;
            }
            if (c == QLatin1Char('/') && i + 2 < n && text_[i + 1] == QLatin1Char('/') &&
                text_[i + 2] == QLatin1Char('/') && startsItsLine(text_, i)) {
                const qsizetype end = markdownRunEnd(text_, i);
                keepDoc(docs, {quint32(i), quint32(end - i), quint32(tokens.size()), CommentSyntax::Markdown});
                i = end;
                continue;
            }
            if (c == QLatin1Char('/') && i + 1 < n && text_[i + 1] == QLatin1Char('/')) {
                while (i < n && text_[i] != QLatin1Char('\n') && text_[i] != QLatin1Char('\r')) ++i;
                continue;
            }
            if (c == QLatin1Char('/') && i + 1 < n && text_[i + 1] == QLatin1Char('*')) {
                qsizetype end = commentEnd(text_, i + 2);
                const bool closed = end >= 0;
                if (!closed)
                    end = n;
                // "/**/" is an empty ordinary comment, not a doc comment.
                if (i + 2 < n && text_[i + 2] == QLatin1Char('*') && end > i + 2) {
                    keepDoc(docs, {quint32(i + 3), quint32(end - (i + 3)), quint32(tokens.size())});
                }
                i = closed ? end + 2 : n;
                continue;
            }
            Token t;
            t.start = quint32(i);
            if (isIdentStart(c)) {
                t.kind = Token::Ident;
                while (i < n && isIdentPart(text_[i])) ++i;
            } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && text_[i + 1].isDigit())) {
                t.kind = Token::Literal;
                while (i < n) {
                    const QChar d = text_[i];
                    if (d.isLetterOrNumber() || d == QLatin1Char('_') || d == QLatin1Char('.')) {
                        ++i;
                    } else if ((d == QLatin1Char('+') || d == QLatin1Char('-')) &&
                        (text_[i - 1] == QLatin1Char('e') || text_[i - 1] == QLatin1Char('E') ||
                            text_[i - 1] == QLatin1Char('p') || text_[i - 1] == QLatin1Char('P'))) {
                        ++i;
                    } else {
                        break;
                    }
                }
            } else if (c == QLatin1Char('"') || c == QLatin1Char('\'')) {
                t.kind = Token::Literal;
                i = skipQuoted(i);
            } else if (c == QLatin1Char('.') && i + 2 < n && text_[i + 1] == QLatin1Char('.') &&
                text_[i + 2] == QLatin1Char('.')) {
                t.kind = Token::Punct;
                i += 3;
            } else {
                t.kind = Token::Punct;
                ++i;
            }
            t.length = quint32(i - t.start);
            tokens.push_back(t);
        }
        if (!docs.empty() && docs.back().token == tokens.size())
            docs.pop_back();  // a comment at the end documents nothing
        Token end;
        end.start = quint32(n);
        tokens.push_back(end);
    }

private:
    static void keepDoc(std::vector<DocComment>& docs, const DocComment& doc)
    {
        if (!docs.empty() && docs.back().token == doc.token)
            docs.back() = doc;
        else
            docs.push_back(doc);
    }

    // A string, char or text-block literal from its opening quote; returns the
    // index after it. An unterminated one ends at its line's end (a text block
    // at the end of the file).
    qsizetype skipQuoted(qsizetype i) const
    {
        const qsizetype n = text_.size();
        if (startsWithTripleQuote(text_, i)) {
            i += 3;
            while (i < n) {
                if (text_[i] == QLatin1Char('\\')) {
                    i += 2;
                    continue;
                }
                if (startsWithTripleQuote(text_, i))
                    return i + 3;
                ++i;
            }
            return n;
        }
        const QChar quote = text_[i++];
        while (i < n) {
            const QChar c = text_[i];
            if (c == QLatin1Char('\\')) {
                i += 2;
                continue;
            }
            if (c == quote)
                return i + 1;
            if (c == QLatin1Char('\n') || c == QLatin1Char('\r'))
                return i;
            ++i;
        }
        return n;
    }

    QStringView text_;
};

bool isModifierWord(QStringView word)
{
    static const char* const words[] = {"public", "protected", "private", "static", "final", "abstract", "native",
        "synchronized", "transient", "volatile", "strictfp", "default", "sealed"};
    if (word.size() < 5 || word.size() > 12 || word[0].unicode() < 'a' || word[0].unicode() > 'v')
        return false;
    for (const char* w : words)
        if (word == QLatin1String(w))
            return true;
    return false;
}

class Parser {
public:
    Parser(QStringView text, std::vector<Token> tokens, std::vector<DocComment> docs)
        : text_(text), tokens_(std::move(tokens)), docs_(std::move(docs))
    { }

    SourceFile compilationUnit()
    {
        SourceFile file;
        while (peek().kind != Token::End) {
            const size_t before = pos_;
            if (isWord(pos_, "import")) {
                readImport(file);
                continue;
            }
            if (isWord(pos_, "package")) {
                ++pos_;
                file.packageName = dottedName().join(QLatin1Char('.'));
                skipPast(QLatin1Char(';'));
                continue;
            }
            Declaration d = readModifiers();
            if (std::optional<SourceType::Kind> kind = typeKeyword()) {
                SourceType type;
                readTypeDeclaration(*kind, d, type, 0);
                file.types.push_back(std::move(type));
            } else if (pos_ == before) {
                ++pos_;  // a stray token (";", a module declaration's words): move on
            }
        }
        return file;
    }

private:
    struct Declaration {
        QStringList modifiers;
        int doc = -1;
        int deprecation = 0;
    };

    void readImport(SourceFile& file)
    {
        ++pos_;
        if (isWord(pos_, "static")) {
            skipPast(QLatin1Char(';'));
            return;
        }
        const QStringList names = dottedName();
        if (isPunct(pos_, '*') && isPunct(pos_ + 1, ';') && !names.isEmpty())
            file.onDemandImports << names.join(QLatin1Char('.'));
        if (isPunct(pos_, ';') && names.size() >= 2)
            file.typeImports << names.join(QLatin1Char('.'));
        if (isPunct(pos_, ';') && names.size() >= 2 && !names[names.size() - 2].isEmpty() &&
            names[names.size() - 2][0].isUpper())
            file.nestedImports.insert(names.last(), names[names.size() - 2] + QLatin1Char('.') + names.last());
        skipPast(QLatin1Char(';'));
    }

    // "java . util . Map" from pos_ on, as far as it goes; pos_ stays after
    // the last name's ".", when one ends it ("java.io.*").
    QStringList dottedName()
    {
        QStringList names;
        while (peek().kind == Token::Ident) {
            names << textOf(peek()).toString();
            ++pos_;
            if (!isPunct(pos_, '.'))
                break;
            ++pos_;
        }
        return names;
    }

    const Token& peek(size_t ahead = 0) const
    {
        const size_t at = pos_ + ahead;
        return tokens_[at < tokens_.size() ? at : tokens_.size() - 1];
    }
    QStringView textOf(const Token& t) const { return text_.mid(t.start, t.length); }
    // The comment right before the token at `at`, or -1.
    int docAt(size_t at) const
    {
        const auto it = std::lower_bound(
            docs_.begin(), docs_.end(), at, [](const DocComment& d, size_t token) { return d.token < token; });
        return it != docs_.end() && it->token == at ? int(it - docs_.begin()) : -1;
    }
    bool isPunct(size_t at, char c) const
    {
        const Token& t = tokens_[std::min(at, tokens_.size() - 1)];
        return t.kind == Token::Punct && t.length == 1 && text_[t.start] == QLatin1Char(c);
    }
    bool isWord(size_t at, const char* word) const
    {
        const Token& t = tokens_[std::min(at, tokens_.size() - 1)];
        return t.kind == Token::Ident && textOf(t) == QLatin1String(word);
    }
    bool atEnd() const { return peek().kind == Token::End; }

    // Skips a balanced group that opens at pos_ ("(", "{", "[" or "<").
    void skipBalanced()
    {
        const QChar open = text_[peek().start];
        const QChar close = open == QLatin1Char('(') ? QLatin1Char(')')
            : open == QLatin1Char('{')               ? QLatin1Char('}')
            : open == QLatin1Char('[')               ? QLatin1Char(']')
                                                     : QLatin1Char('>');
        qsizetype depth = 0;
        while (!atEnd()) {
            const Token& t = peek();
            ++pos_;
            if (t.kind != Token::Punct || t.length != 1)
                continue;
            const QChar c = text_[t.start];
            if (c == open) {
                ++depth;
            } else if (c == close) {
                if (--depth == 0)
                    return;
            } else if (open == QLatin1Char('<') && (c == QLatin1Char(';') || c == QLatin1Char('{'))) {
                --pos_;  // not a type's angle brackets after all
                return;
            }
        }
    }

    // Moves past the next `c` outside brackets, or stops before a "}" that
    // closes the enclosing body.
    void skipPast(QChar c)
    {
        while (!atEnd()) {
            const Token& t = peek();
            if (t.kind == Token::Punct && t.length == 1) {
                const QChar p = text_[t.start];
                if (p == c) {
                    ++pos_;
                    return;
                }
                if (p == QLatin1Char('}'))
                    return;
                if (p == QLatin1Char('(') || p == QLatin1Char('{') || p == QLatin1Char('[')) {
                    skipBalanced();
                    continue;
                }
            }
            ++pos_;
        }
    }

    // Returns 1 for @Deprecated, 2 for @Deprecated(forRemoval = true), else 0.
    int skipAnnotation()
    {
        ++pos_;  // "@"
        QStringView last;
        if (peek().kind == Token::Ident)
            last = textOf(tokens_[pos_++]);
        while (isPunct(pos_, '.') && peek(1).kind == Token::Ident) {
            last = textOf(peek(1));
            pos_ += 2;
        }
        const bool deprecated = last == QLatin1String("Deprecated");
        bool forRemoval = false;
        if (isPunct(pos_, '(')) {
            const size_t start = pos_;
            skipBalanced();
            for (size_t i = start; deprecated && i + 2 < pos_; ++i)
                forRemoval = forRemoval || (isWord(i, "forRemoval") && isPunct(i + 1, '=') && isWord(i + 2, "true"));
        }
        return deprecated ? (forRemoval ? 2 : 1) : 0;
    }

    Declaration readModifiers()
    {
        Declaration d;
        d.doc = docAt(pos_);
        for (;;) {
            if (d.doc < 0)
                d.doc = docAt(pos_);
            if (isPunct(pos_, '@') && !isWord(pos_ + 1, "interface")) {
                d.deprecation = std::max(d.deprecation, skipAnnotation());
                continue;
            }
            if (peek().kind != Token::Ident)
                break;
            const QStringView word = textOf(peek());
            if (word == QLatin1String("non") && isPunct(pos_ + 1, '-') && isWord(pos_ + 2, "sealed")) {
                pos_ += 3;
                continue;
            }
            if (!isModifierWord(word))
                break;
            // "default" in a switch never reaches here; in a body it is a modifier.
            d.modifiers << word.toString();
            ++pos_;
        }
        return d;
    }

    std::optional<SourceType::Kind> typeKeyword()
    {
        if (isWord(pos_, "class")) {
            ++pos_;
            return SourceType::Kind::Class;
        }
        if (isWord(pos_, "interface")) {
            ++pos_;
            return SourceType::Kind::Interface;
        }
        if (isWord(pos_, "enum") && peek(1).kind == Token::Ident) {
            ++pos_;
            return SourceType::Kind::Enum;
        }
        if (isPunct(pos_, '@') && isWord(pos_ + 1, "interface")) {
            pos_ += 2;
            return SourceType::Kind::Annotation;
        }
        if (isWord(pos_, "record") && peek(1).kind == Token::Ident &&
            (isPunct(pos_ + 2, '(') || isPunct(pos_ + 2, '<'))) {
            ++pos_;
            return SourceType::Kind::Record;
        }
        return std::nullopt;
    }

    void takeDoc(int doc, bool& hasDoc, QString& out, CommentSyntax& syntax) const
    {
        if (doc < 0)
            return;
        hasDoc = true;
        const DocComment& d = docs_[size_t(doc)];
        syntax = d.syntax;
        const QStringView body = text_.mid(d.start, d.length);
        out = syntax == CommentSyntax::Markdown ? markdownCommentBody(body) : body.toString();
    }

    void skipAnnotations()
    {
        while (isPunct(pos_, '@') && !isWord(pos_ + 1, "interface")) skipAnnotation();
    }

    // The type's text from pos_ as javadoc prints it: annotations dropped,
    // package qualifiers cut, blanks only around words ("? super T").
    QString readType(int depth = 0)
    {
        QString out;
        if (depth > kMaxTypeDepth)
            return out;
        skipAnnotations();
        if (isPunct(pos_, '?')) {
            out = QStringLiteral("?");
            ++pos_;
            if (isWord(pos_, "extends") || isWord(pos_, "super")) {
                out += QLatin1Char(' ') + textOf(peek()) + QLatin1Char(' ');
                ++pos_;
                out += readType(depth + 1);
            }
            return out;
        }
        while (peek().kind == Token::Ident) {
            const QStringView word = textOf(peek());
            ++pos_;
            // A package name: lower-case words before the first type's name.
            if (out.isEmpty() && isPunct(pos_, '.') && peek(1).kind == Token::Ident && word[0].isLower()) {
                ++pos_;
                continue;
            }
            out += word;
            if (isPunct(pos_, '<'))
                out += readTypeArguments(depth + 1);
            if (isPunct(pos_, '.') && (peek(1).kind == Token::Ident || isPunct(pos_ + 1, '@'))) {
                out += QLatin1Char('.');
                ++pos_;
                skipAnnotations();
                continue;
            }
            break;
        }
        for (;;) {
            const size_t before = pos_;
            skipAnnotations();
            if (isPunct(pos_, '[') && isPunct(pos_ + 1, ']')) {
                out += QLatin1String("[]");
                pos_ += 2;
                continue;
            }
            pos_ = before;
            break;
        }
        return out;
    }

    QString readTypeArguments(int depth)
    {
        QString out = QStringLiteral("<");
        ++pos_;
        while (!atEnd() && !isPunct(pos_, '>')) {
            const size_t before = pos_;
            out += readType(depth);
            if (isPunct(pos_, ',')) {
                out += QLatin1Char(',');
                ++pos_;
            } else if (pos_ == before || !isPunct(pos_, '>')) {
                break;  // not a type argument list after all
            }
        }
        if (isPunct(pos_, '>'))
            ++pos_;
        return out + QLatin1Char('>');
    }

    QString readTypeParameters()
    {
        QString out = QStringLiteral("<");
        ++pos_;
        while (!atEnd() && !isPunct(pos_, '>')) {
            const size_t before = pos_;
            skipAnnotations();
            if (peek().kind == Token::Ident) {
                out += textOf(peek());
                ++pos_;
            }
            if (isWord(pos_, "extends")) {
                ++pos_;
                out += QLatin1String(" extends ") + readType(1);
                while (isPunct(pos_, '&')) {
                    ++pos_;
                    out += QLatin1String(" & ") + readType(1);
                }
            }
            if (isPunct(pos_, ',')) {
                out += QLatin1String(", ");  // javadoc's own spacing for type parameters
                ++pos_;
            } else if (pos_ == before || !isPunct(pos_, '>')) {
                break;
            }
        }
        if (isPunct(pos_, '>'))
            ++pos_;
        return out + QLatin1Char('>');
    }

    std::vector<SourceParam> readParams()
    {
        std::vector<SourceParam> params;
        ++pos_;  // "("
        while (!atEnd() && !isPunct(pos_, ')')) {
            const size_t before = pos_;
            readModifiers();  // "final", annotations
            SourceParam p;
            p.type = readType();
            if (isPunct(pos_, '@'))
                readModifiers();  // annotations on the varargs ellipsis
            const Token& t = peek();
            if (t.kind == Token::Punct && textOf(t) == QLatin1String("...")) {
                p.type += QLatin1String("...");
                ++pos_;
            }
            if (peek().kind == Token::Ident) {
                p.name = textOf(peek()).toString();
                ++pos_;
                if (p.name == QLatin1String("this"))
                    p.name.clear();  // a receiver parameter is no parameter
            }
            while (isPunct(pos_, '[') && isPunct(pos_ + 1, ']')) {
                p.type += QLatin1String("[]");
                pos_ += 2;
            }
            if (!p.name.isEmpty())
                params.push_back(std::move(p));
            // Anything else up to the next "," or ")" is not understood: skip it.
            while (!atEnd() && !isPunct(pos_, ',') && !isPunct(pos_, ')')) {
                if (isPunct(pos_, '(') || isPunct(pos_, '[') || isPunct(pos_, '{'))
                    skipBalanced();
                else if (isPunct(pos_, ';') || isPunct(pos_, '}'))
                    return params;
                else
                    ++pos_;
            }
            if (isPunct(pos_, ','))
                ++pos_;
            if (pos_ == before)
                ++pos_;
        }
        if (isPunct(pos_, ')'))
            ++pos_;
        return params;
    }

    void readTypeDeclaration(SourceType::Kind kind, const Declaration& d, SourceType& type, int depth)
    {
        type.kind = kind;
        type.deprecation = d.deprecation;
        takeDoc(d.doc, type.hasDoc, type.doc, type.docSyntax);
        if (peek().kind == Token::Ident) {
            type.name = textOf(peek()).toString();
            ++pos_;
        }
        if (isPunct(pos_, '<'))
            type.typeParameters = readTypeParameters();
        if (kind == SourceType::Kind::Record && isPunct(pos_, '('))
            type.recordComponents = readParams();
        // extends, implements, permits: the class library knows the supertypes.
        while (!atEnd() && !isPunct(pos_, '{') && !isPunct(pos_, ';') && !isPunct(pos_, '}')) {
            if (isPunct(pos_, '(') || isPunct(pos_, '['))
                skipBalanced();
            else
                ++pos_;
        }
        if (!isPunct(pos_, '{'))
            return;
        if (depth >= kMaxTypeDepth) {
            skipBalanced();
            return;
        }
        ++pos_;
        if (kind == SourceType::Kind::Enum)
            skipEnumConstants();
        readBody(type, depth);
    }

    void skipEnumConstants()
    {
        while (!atEnd()) {
            if (isPunct(pos_, ';')) {
                ++pos_;
                return;
            }
            if (isPunct(pos_, '}'))
                return;
            if (isPunct(pos_, '(') || isPunct(pos_, '{') || isPunct(pos_, '['))
                skipBalanced();
            else if (isPunct(pos_, '@'))
                skipAnnotation();
            else
                ++pos_;
        }
    }

    void readBody(SourceType& type, int depth)
    {
        while (!atEnd()) {
            if (isPunct(pos_, '}')) {
                ++pos_;
                return;
            }
            const size_t before = pos_;
            readMember(type, depth);
            if (pos_ == before)
                ++pos_;
        }
    }

    void readMember(SourceType& type, int depth)
    {
        if (isPunct(pos_, ';')) {
            ++pos_;
            return;
        }
        Declaration d = readModifiers();
        if (isPunct(pos_, '{')) {
            skipBalanced();  // an initializer block
            return;
        }
        if (std::optional<SourceType::Kind> kind = typeKeyword()) {
            SourceType nested;
            readTypeDeclaration(*kind, d, nested, depth + 1);
            type.nested.push_back(std::move(nested));
            return;
        }
        SourceMember m;
        m.modifiers = d.modifiers;
        m.deprecation = d.deprecation;
        if (isPunct(pos_, '<'))
            m.typeParameters = readTypeParameters();
        if (d.doc < 0)
            d.doc = docAt(pos_);
        takeDoc(d.doc, m.hasDoc, m.doc, m.docSyntax);
        if (peek().kind != Token::Ident) {
            skipPast(QLatin1Char(';'));
            return;
        }
        if (isPunct(pos_ + 1, '(')) {
            m.kind = SourceMember::Kind::Constructor;
            m.name = textOf(peek()).toString();
            ++pos_;
            m.params = readParams();
            readMethodRest(m);
            keep(type, std::move(m));
            return;
        }
        if (type.kind == SourceType::Kind::Record && isPunct(pos_ + 1, '{') && textOf(peek()) == type.name) {
            // The compact canonical constructor: the record's components are its parameters.
            m.kind = SourceMember::Kind::Constructor;
            m.name = type.name;
            m.params = type.recordComponents;
            ++pos_;
            skipBalanced();
            keep(type, std::move(m));
            return;
        }
        m.returnType = readType();
        if (peek().kind != Token::Ident) {
            skipPast(QLatin1Char(';'));
            return;
        }
        m.name = textOf(peek()).toString();
        ++pos_;
        if (isPunct(pos_, '(')) {
            m.kind = SourceMember::Kind::Method;
            m.params = readParams();
            while (isPunct(pos_, '[') && isPunct(pos_ + 1, ']')) {  // "int f()[]", the old array syntax
                m.returnType += QLatin1String("[]");
                pos_ += 2;
            }
            readMethodRest(m);
            keep(type, std::move(m));
            return;
        }
        m.kind = SourceMember::Kind::Field;
        readFieldRest(m, type);
    }

    void readMethodRest(SourceMember& m)
    {
        if (isWord(pos_, "throws")) {
            ++pos_;
            while (!atEnd()) {
                const size_t before = pos_;
                const QString t = readType();
                if (!t.isEmpty())
                    m.throwsTypes << t;
                if (isPunct(pos_, ','))
                    ++pos_;
                else if (pos_ != before)
                    break;
                if (pos_ == before)
                    break;
            }
        }
        if (isWord(pos_, "default"))  // an annotation element's default value
            skipPast(QLatin1Char(';'));
        else if (isPunct(pos_, '{')) {
            skipBalanced();
        } else
            skipPast(QLatin1Char(';'));
    }

    void keep(SourceType& type, SourceMember&& m)
    {
        if (members_ < kMaxMembers) {
            type.members.push_back(std::move(m));
            ++members_;
        }
    }

    // One or more fields of one declaration ("int a = 1, b;"). Only constants
    // are kept, without their comments: {@value} is all that reads fields.
    void readFieldRest(SourceMember& first, SourceType& type)
    {
        SourceMember m = std::move(first);
        m.hasDoc = false;
        m.doc.clear();
        for (;;) {
            while (isPunct(pos_, '[') && isPunct(pos_ + 1, ']')) pos_ += 2;
            if (isPunct(pos_, '=')) {
                ++pos_;
                const size_t start = pos_;
                if (peek().kind == Token::Literal && (isPunct(pos_ + 1, ';') || isPunct(pos_ + 1, ',')))
                    m.initializer = textOf(peek()).toString();
                else if (isPunct(pos_, '-') && peek(1).kind == Token::Literal &&
                    (isPunct(pos_ + 2, ';') || isPunct(pos_ + 2, ',')))
                    m.initializer = QLatin1Char('-') + textOf(peek(1));
                pos_ = start;
                while (!atEnd() && !isPunct(pos_, ',') && !isPunct(pos_, ';') && !isPunct(pos_, '}')) {
                    if (isPunct(pos_, '(') || isPunct(pos_, '{') || isPunct(pos_, '['))
                        skipBalanced();
                    else
                        ++pos_;
                }
            }
            const bool more = isPunct(pos_, ',') && peek(1).kind == Token::Ident;
            if (!m.initializer.isEmpty())
                keep(type, SourceMember(m));
            if (!more) {
                skipPast(QLatin1Char(';'));
                return;
            }
            pos_ += 1;
            m.name = textOf(peek()).toString();
            m.initializer.clear();
            ++pos_;
        }
    }

    QStringView text_;
    std::vector<Token> tokens_;
    std::vector<DocComment> docs_;
    size_t pos_ = 0;
    size_t members_ = 0;
};

// Splits at commas outside angle brackets and parentheses.
QStringList splitTopLevel(const QString& text)
{
    QStringList parts;
    int depth = 0;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('<') || c == QLatin1Char('('))
            ++depth;
        else if (c == QLatin1Char('>') || c == QLatin1Char(')'))
            --depth;
        else if (c == QLatin1Char(',') && depth == 0) {
            parts << text.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    parts << text.mid(start).trimmed();
    return parts;
}

}  // namespace

QString translateUnicodeEscapes(QStringView text)
{
    bool any = false;
    for (qsizetype i = 0; i + 1 < text.size() && !any; ++i)
        any = text[i] == QLatin1Char('\\') && text[i + 1] == QLatin1Char('u');
    if (!any)
        return text.toString();
    QString out;
    out.reserve(text.size());
    qsizetype backslashes = 0;  // the run of "\" right before i
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = text[i];
        if (c == QLatin1Char('\\') && backslashes % 2 == 0 && i + 1 < n && text[i + 1] == QLatin1Char('u')) {
            qsizetype j = i + 1;
            while (j < n && text[j] == QLatin1Char('u')) ++j;
            if (j + 4 <= n) {
                int value = 0;
                bool ok = true;
                for (qsizetype k = j; k < j + 4; ++k) {
                    const int h = hexValue(text[k]);
                    ok = ok && h >= 0;
                    value = value * 16 + std::max(h, 0);
                }
                if (ok) {
                    out += QChar(char16_t(value));
                    // An escaped "\" starts no further escape (JLS 3.3).
                    backslashes = 0;
                    i = j + 4;
                    continue;
                }
            }
        }
        backslashes = c == QLatin1Char('\\') ? backslashes + 1 : 0;
        out += c;
        ++i;
    }
    return out;
}

SourceFile scanJavaSource(QStringView text)
{
    text = text.left(kMaxScannedChars);
    std::vector<Token> tokens;
    tokens.reserve(size_t(text.size() / 8));
    std::vector<DocComment> docs;
    Lexer(text).run(tokens, docs);
    Parser parser(text, std::move(tokens), std::move(docs));
    return parser.compilationUnit();
}

std::vector<std::pair<QString, QString>> typeVariablesOf(const QString& typeParameters)
{
    std::vector<std::pair<QString, QString>> vars;
    if (typeParameters.size() < 2)
        return vars;
    for (const QString& part : splitTopLevel(typeParameters.mid(1, typeParameters.size() - 2))) {
        const qsizetype ext = part.indexOf(QLatin1String(" extends "));
        if (ext < 0) {
            vars.emplace_back(part, QStringLiteral("Object"));
            continue;
        }
        QString bound = part.mid(ext + 9);
        const qsizetype amp = bound.indexOf(QLatin1String(" & "));
        if (amp >= 0)
            bound.truncate(amp);
        vars.emplace_back(part.left(ext), bound);
    }
    return vars;
}

QString eraseType(const QString& type, const std::vector<std::pair<QString, QString>>& typeVariables)
{
    QString base;
    int depth = 0;
    for (const QChar c : type) {
        if (c == QLatin1Char('<'))
            ++depth;
        else if (c == QLatin1Char('>'))
            --depth;
        else if (depth == 0)
            base += c;
    }
    QString dims;
    while (base.endsWith(QLatin1String("[]"))) {
        dims += QLatin1String("[]");
        base.chop(2);
    }
    if (base.endsWith(QLatin1String("..."))) {
        dims += QLatin1String("[]");
        base.chop(3);
    }
    base = base.trimmed();
    for (int guard = 0; guard < 16; ++guard) {
        const auto it =
            std::find_if(typeVariables.begin(), typeVariables.end(), [&](const auto& v) { return v.first == base; });
        if (it == typeVariables.end())
            break;
        QString bound;
        depth = 0;
        for (const QChar c : it->second) {
            if (c == QLatin1Char('<'))
                ++depth;
            else if (c == QLatin1Char('>'))
                --depth;
            else if (depth == 0)
                bound += c;
        }
        base = bound.trimmed();
    }
    const qsizetype dot = std::max(base.lastIndexOf(QLatin1Char('.')), base.lastIndexOf(QLatin1Char('$')));
    return base.mid(dot + 1) + dims;
}

}  // namespace javadoc::source
