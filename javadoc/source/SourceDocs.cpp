#include "javadoc/source/SourceDocs.h"

#include "javadoc/DocWriter.h"
#include "javadoc/Extractor.h"
#include "javadoc/LinkTarget.h"
#include "javadoc/SelectionArgs.h"

#include <QRegularExpression>
#include <cstring>
#include <functional>
#include <list>
#include <unordered_set>

#include "javadoc/source/CommentRenderer.h"
#include "javadoc/source/JavaSourceScanner.h"
#include "javadoc/source/SourceLinks.h"
#include "javadoc/source/SourceLocator.h"
#include "platform/ControlChars.h"
#include "platform/JavaText.h"
#include "platform/SwingNaming.h"
#include "platform/classlib/ClassLibrary.h"
#include "platform/classlib/LoadedClass.h"

namespace javadoc::source {

namespace {

using platform::classlib::ClassLibrary;
using platform::classlib::LoadedClass;
using platform::classlib::MethodInfo;

// Supertypes looked at for one member: a real hierarchy has a few dozen.
constexpr size_t kMaxSupertypes = 256;
// Parsed files kept for the next selection (most are of the same class).
constexpr size_t kParsedFilesKept = 4;

QString simpleTail(const QString& name)
{
    const qsizetype cut = std::max(name.lastIndexOf(QLatin1Char('.')), name.lastIndexOf(QLatin1Char('$')));
    return name.mid(cut + 1);
}

// The display name javadoc uses for a class: nested names joined with ".".
QString displayName(const std::string& internalName)
{
    QString s = QString::fromStdString(internalName);
    s = s.mid(s.lastIndexOf(QLatin1Char('/')) + 1);
    s.replace(QLatin1Char('$'), QLatin1Char('.'));
    return s;
}

QString binaryName(const std::string& internalName)
{
    return QString::fromStdString(internalName).replace(QLatin1Char('/'), QLatin1Char('.'));
}

std::string toInternal(const QString& dotted)
{
    QString s = dotted;
    s.replace(QLatin1Char('.'), QLatin1Char('/'));
    return s.toStdString();
}

// The leaf's parameter types, "boolean add(Object)" → ["Object"]; nothing
// when the leaf text has no parameter list.
std::optional<QStringList> leafParameterTypes(const QString& leaf)
{
    std::optional<QStringList> types = javadoc::parameterTypes(leaf);
    if (types) {
        for (QString& t : *types) t = simpleTail(t);
    }
    return types;
}

// A descriptor's parameter types as simple names: "(ILjava/util/Map$Entry;)V" → int, Entry.
QStringList descriptorTypes(const std::string& descriptor, bool qualified = false)
{
    QStringList types;
    size_t i = 1;
    while (i < descriptor.size() && descriptor[i] != ')') {
        int dims = 0;
        while (i < descriptor.size() && descriptor[i] == '[') {
            ++dims;
            ++i;
        }
        if (i >= descriptor.size())
            break;
        QString name;
        const char c = descriptor[i];
        if (c == 'L') {
            const size_t semi = descriptor.find(';', i);
            if (semi == std::string::npos)
                break;
            name = QString::fromStdString(descriptor.substr(i + 1, semi - i - 1))
                       .replace(QLatin1Char('/'), QLatin1Char('.'));
            name = qualified ? name.replace(QLatin1Char('$'), QLatin1Char('.')) : simpleTail(name);
            i = semi + 1;
        } else {
            static const char* const prims[] = {"byte", "char", "double", "float", "int", "long", "short", "boolean"};
            const char* codes = "BCDFIJSZ";
            const char* at = std::strchr(codes, c);
            name = at && c ? QString::fromLatin1(prims[at - codes]) : QString();
            ++i;
        }
        for (int d = 0; d < dims; ++d) name += QLatin1String("[]");
        types << name;
    }
    return types;
}

// What the selection names: the member, its parameter count and types.
struct Wanted {
    QString name;
    bool constructor = false;
    int count = -1;  // -1: any; 7 with `atLeast`: seven or more (the comma count saturates)
    bool atLeast = false;
    QStringList types;  // erased simple names; empty when only the count is known
    bool typesKnown = false;
};

bool countFits(int have, const Wanted& w)
{
    if (w.count < 0)
        return true;
    return w.atLeast ? have >= w.count : have == w.count;
}

// Whether a supertype's class file declares the method the wanted one
// overrides: the same erased parameter types, or, where generics bind a type
// variable ("compareTo(T)" implemented as "compareTo(Foo)"), the types of a
// bridge method that the compiler wrote into the overriding class.
enum class Declares { No, Yes, Abstract };

Declares classDeclares(const LoadedClass& cls, const Wanted& w, const LoadedClass& overriding)
{
    std::vector<QStringList> bridges;
    for (const MethodInfo& m : overriding.info.methods)
        if ((m.access & platform::classlib::ACC_BRIDGE) && QString::fromStdString(m.name) == w.name)
            bridges.push_back(descriptorTypes(m.descriptor));
    const auto consider = [&](const std::string& name, const std::string& descriptor) {
        if (name == "<init>" || QString::fromStdString(name) != w.name)
            return false;
        const QStringList types = descriptorTypes(descriptor);
        if (!countFits(int(types.size()), w))
            return false;
        return !w.typesKnown || types == w.types || std::find(bridges.begin(), bridges.end(), types) != bridges.end();
    };
    for (const MethodInfo& m : cls.info.methods)
        if (!(m.access & (platform::classlib::ACC_STATIC | platform::classlib::ACC_BRIDGE)) &&
            consider(m.name, m.descriptor))
            return (m.access & platform::classlib::ACC_ABSTRACT) ? Declares::Abstract : Declares::Yes;
    for (const auto& [name, descriptor] : cls.info.protectedMethods)
        if (consider(name, descriptor))
            return Declares::Yes;
    return Declares::No;
}

bool isPublicType(const LoadedClass& cls)
{
    return (cls.info.access & platform::classlib::ACC_PUBLIC) != 0;
}

// Integer literals as javadoc shows a constant: in decimal.
QString constantText(const QString& literal)
{
    QString s = literal;
    s.remove(QLatin1Char('_'));
    bool negative = s.startsWith(QLatin1Char('-'));
    if (negative)
        s = s.mid(1);
    if (s.startsWith(QLatin1Char('"')) || s.startsWith(QLatin1Char('\'')))
        return literal;
    const bool isLong = s.endsWith(QLatin1Char('L')) || s.endsWith(QLatin1Char('l'));
    if (isLong)
        s.chop(1);
    bool ok = false;
    qulonglong v = 0;
    if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        v = s.mid(2).toULongLong(&ok, 16);
    else if (s.startsWith(QLatin1String("0b"), Qt::CaseInsensitive))
        v = s.mid(2).toULongLong(&ok, 2);
    else if (s.size() > 1 && s.startsWith(QLatin1Char('0')) && !s.contains(QLatin1Char('.')))
        v = s.mid(1).toULongLong(&ok, 8);
    else
        v = s.toULongLong(&ok, 10);
    if (!ok)
        return literal;
    if (!isLong && !negative && v <= 0xFFFFFFFFull && v > 0x7FFFFFFFull)
        return QString::number(qint32(quint32(v)));  // 0xFFFFFFFF is -1 as an int
    return negative ? QLatin1Char('-') + QString::number(v) : QString::number(v);
}

struct ParsedFile {
    std::string topInternal;
    SourceFile file;
};

// One type found in its source, with the type variables in scope.
struct FoundType {
    std::shared_ptr<const ParsedFile> file;
    const SourceType* type = nullptr;
    std::vector<const SourceType*> outers;  // outermost first
    std::string internalName;
};

struct Candidate {
    std::string internalName;
    bool isInterface = false;
    bool isPublic = true;     // javadoc names only documented (public) types under OVERRIDES and SPECIFIED BY
    bool isAbstract = false;  // a superclass's abstract method is "specified by", not "overridden"
};

struct Commented;
struct Target;

}  // namespace

struct SourceDocs::Impl {
    ClassLibrary& library;
    SourceLocator locator;
    std::list<std::shared_ptr<const ParsedFile>> parsed;
    std::vector<DocLink> lastLinks;  // the links of the text document() wrote last
    // Whether the comments' references are resolved: only a caller that
    // takes the links pays for their class lookups.
    bool resolveLinks = false;

    explicit Impl(ClassLibrary& lib) : library(lib) { }

    std::shared_ptr<const ParsedFile> parse(const std::string& topInternal, const ClassLibrary::Origin& origin)
    {
        for (auto it = parsed.begin(); it != parsed.end(); ++it) {
            if ((*it)->topInternal == topInternal) {
                parsed.splice(parsed.begin(), parsed, it);
                return parsed.front();
            }
        }
        const std::optional<QString> text = locator.topLevelSource(origin, library.jdkHome(), topInternal);
        if (!text)
            return nullptr;
        auto file = std::make_shared<ParsedFile>();
        file->topInternal = topInternal;
        file->file = scanJavaSource(*text);
        parsed.push_front(file);
        if (parsed.size() > kParsedFilesKept)
            parsed.pop_back();
        return file;
    }

    std::optional<FoundType> findType(const std::string& internalName)
    {
        const ClassLibrary::Origin origin = library.originOf(internalName);
        if (origin.kind == ClassLibrary::Origin::Kind::None)
            return std::nullopt;
        const size_t slash = internalName.rfind('/');
        const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
        // "A$B$C" lives in A.java; a "$" that is part of a top-level name is tried last.
        std::vector<size_t> cuts;
        for (size_t i = internalName.find('$', nameStart + 1); i != std::string::npos;
             i = internalName.find('$', i + 1))
            cuts.push_back(i);
        cuts.push_back(internalName.size());
        for (const size_t cut : cuts) {
            auto file = parse(internalName.substr(0, cut), origin);
            if (!file)
                continue;
            const QString top = QString::fromStdString(internalName.substr(nameStart, cut - nameStart));
            const QStringList nested = cut < internalName.size()
                ? QString::fromStdString(internalName.substr(cut + 1)).split(QLatin1Char('$'))
                : QStringList();
            FoundType found;
            found.file = file;
            found.internalName = internalName;
            const std::vector<SourceType>* level = &file->file.types;
            const SourceType* type = nullptr;
            for (qsizetype k = -1; k < nested.size(); ++k) {
                const QString& name = k < 0 ? top : nested[k];
                const SourceType* next = nullptr;
                for (const SourceType& t : *level)
                    if (t.name == name)
                        next = &t;
                if (!next) {
                    type = nullptr;
                    break;
                }
                if (type)
                    found.outers.push_back(type);
                type = next;
                level = &next->nested;
            }
            if (type) {
                found.type = type;
                return found;
            }
        }
        return std::nullopt;
    }

    static std::vector<std::pair<QString, QString>> scope(const FoundType& t, const SourceMember* m)
    {
        std::vector<std::pair<QString, QString>> vars;
        if (m)
            vars = typeVariablesOf(m->typeParameters);
        for (auto v : typeVariablesOf(t.type->typeParameters)) vars.push_back(v);
        for (auto it = t.outers.rbegin(); it != t.outers.rend(); ++it)
            for (auto v : typeVariablesOf((*it)->typeParameters)) vars.push_back(v);
        return vars;
    }

    static const SourceMember* findMember(const FoundType& t, const Wanted& w, bool uniqueByCount)
    {
        const SourceMember* byCount = nullptr;
        int sameCount = 0;
        for (const SourceMember& m : t.type->members) {
            const bool isCtor = m.kind == SourceMember::Kind::Constructor;
            if (m.kind == SourceMember::Kind::Field || isCtor != w.constructor)
                continue;
            if (!w.constructor && !w.name.isEmpty() && m.name != w.name)
                continue;
            int count = int(m.params.size());
            QStringList wantTypes = w.types;
            // An inner class's constructor takes the enclosing instance first.
            if (isCtor && w.typesKnown && count + 1 == wantTypes.size() && !t.outers.empty()) {
                wantTypes.removeFirst();
                ++count;
            }
            if (!countFits(count, w))
                continue;
            if (w.typesKnown) {
                const auto vars = scope(t, &m);
                QStringList erased;
                for (const SourceParam& p : m.params) erased << eraseType(p.type, vars);
                if (erased == wantTypes)
                    return &m;
            }
            if (!byCount)
                byCount = &m;
            ++sameCount;
        }
        return !w.typesKnown || !uniqueByCount || sameCount == 1 ? byCount : nullptr;
    }

    // Supertypes that declare the method, as javadoc searches them: the
    // superclass chain, nearest first, then the interfaces.
    std::vector<Candidate> declaringSupertypes(const LoadedClass& cls, const Wanted& w)
    {
        std::vector<Candidate> out;
        std::vector<const LoadedClass*> interfaces;
        std::unordered_set<const LoadedClass*> seen;
        // Each interface before its superinterfaces, the class's own first,
        // so that a redeclaration's comment wins over the one it overrides.
        std::function<void(const LoadedClass*, int)> addInterface = [&](const LoadedClass* i, int depth) {
            if (!i || seen.size() > kMaxSupertypes || depth > 64 || !seen.insert(i).second)
                return;
            interfaces.push_back(i);
            for (const auto& sup : i->interfaces) addInterface(sup.get(), depth + 1);
        };
        for (const auto& i : cls.interfaces) addInterface(i.get(), 0);
        size_t steps = 0;
        for (const LoadedClass* s = cls.superclass.get(); s && steps < kMaxSupertypes; s = s->superclass.get()) {
            ++steps;
            if (const Declares d = classDeclares(*s, w, cls); d != Declares::No)
                out.push_back({s->internalName, false, isPublicType(*s), d == Declares::Abstract});
            for (const auto& i : s->interfaces) addInterface(i.get(), 0);
        }
        for (const LoadedClass* i : interfaces)
            if (classDeclares(*i, w, cls) != Declares::No)
                out.push_back({i->internalName, true, isPublicType(*i), true});
        return out;
    }

    // Member types that the signature names by their simple name and that a
    // superclass declares ("BaselineResizeBehavior" → "Component.BaselineResizeBehavior").
    void addInheritedMemberTypes(const SourceMember& m, const LoadedClass& cls, QHash<QString, QString>& nested)
    {
        QStringList texts {m.returnType};
        for (const SourceParam& p : m.params) texts << p.type;
        static const QRegularExpression word(QStringLiteral("\\b[A-Z][\\w$]*"));
        for (const QString& text : texts) {
            for (auto it = word.globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                const QString name = match.captured();
                if (nested.contains(name) ||
                    (match.capturedStart() > 0 && text[match.capturedStart() - 1] == QLatin1Char('.')))
                    continue;
                size_t steps = 0;
                for (const LoadedClass* s = cls.superclass.get(); s && steps < 32; s = s->superclass.get(), ++steps) {
                    const std::string inner = s->internalName + "$" + name.toStdString();
                    if (library.originOf(inner).kind != ClassLibrary::Origin::Kind::None) {
                        nested.insert(name, displayName(inner));
                        break;
                    }
                }
                if (!nested.contains(name))
                    nested.insert(name, name);  // looked for once
            }
        }
    }

    // A @see reference to a method as javadoc prints it: the resolved
    // method's parameter types fully qualified ("#setLayout" →
    // "setLayout(java.awt.LayoutManager)"); as written when not resolved.
    QString seeLabel(const QString& reference, const LoadedClass& current)
    {
        const QString ref = platform::javaTrim(reference);
        const qsizetype hash = ref.indexOf(QLatin1Char('#'));
        if (hash < 0)
            return referenceLabel(ref);
        const QString classPart = ref.left(hash);
        QString name = ref.mid(hash + 1);
        std::optional<QStringList> written;
        if (const qsizetype paren = name.indexOf(QLatin1Char('(')); paren >= 0) {
            written = leafParameterTypes(name.mid(paren));
            name.truncate(paren);
        }
        std::shared_ptr<const LoadedClass> target;
        if (classPart.isEmpty()) {
            target = library.linkedClass(current.internalName);
        } else {
            const std::string package = current.internalName.substr(0, current.internalName.rfind('/') + 1);
            const std::string simple = toInternal(classPart);
            for (const std::string& candidate :
                {current.internalName + "$" + simple, package + simple, "java/lang/" + simple, simple})
                if ((target = library.linkedClass(candidate)))
                    break;
        }
        if (!target)
            return referenceLabel(ref);
        const MethodInfo* found = nullptr;
        // The class itself first, then its superclasses.
        for (const LoadedClass* c = target.get(); c && !found; c = c->superclass.get()) {
            for (const MethodInfo& m : c->info.methods) {
                if (QString::fromStdString(m.name) != name || (m.access & platform::classlib::ACC_BRIDGE))
                    continue;
                const QStringList types = descriptorTypes(m.descriptor);
                if (written && types.size() != written->size())
                    continue;
                if (!written || types == *written) {
                    found = &m;
                    break;
                }
            }
        }
        if (!found)
            return referenceLabel(ref);
        const QString params = descriptorTypes(found->descriptor, true).join(QLatin1String(", "));
        const QString shownClass = classPart.isEmpty() ? QString() : simpleTail(classPart) + QLatin1Char('.');
        return shownClass + name + QLatin1Char('(') + params + QLatin1Char(')');
    }

    bool classExists(const QString& binaryName) const
    {
        return library.originOf(toInternal(binaryName)).kind != ClassLibrary::Origin::Kind::None;
    }

    // The links of comments written in the type's file, resolved there.
    std::unique_ptr<SourceLinks> linksIn(const FoundType& t)
    {
        const SourceFile& file = t.file->file;
        TypeScope scope {file.packageName, file.typeImports, file.onDemandImports, {}};
        const QString binary = binaryName(t.internalName);
        scope.memberScopes << binary;
        if (std::shared_ptr<const LoadedClass> cls = library.linkedClass(t.internalName)) {
            size_t steps = 0;
            for (const LoadedClass* s = cls.get(); s && steps < 32; s = s->superclass.get(), ++steps) {
                if (s != cls.get())
                    scope.memberScopes << binaryName(s->internalName);
                for (const auto& i : s->interfaces)
                    if (i)
                        scope.memberScopes << binaryName(i->internalName);
            }
        }
        for (QString outer = binary; outer.lastIndexOf(QLatin1Char('$')) > outer.lastIndexOf(QLatin1Char('.'));) {
            outer.truncate(outer.lastIndexOf(QLatin1Char('$')));
            scope.memberScopes << outer;
        }
        std::shared_ptr<const ParsedFile> parsedFile = t.file;
        return std::make_unique<SourceLinks>(
            TypeResolver(std::move(scope), [this](const QString& name) { return classExists(name); }), binary,
            [this, parsedFile](const QString& cls, const QString& name, const std::optional<QStringList>& types) {
                return memberLinkTarget(*parsedFile, cls, name, types);
            });
    }

    // A method or constructor a reference names: the class that declares it,
    // the class itself first, then its superclasses, then its interfaces;
    // its types as the source declares them when it is the file at hand
    // (type variables kept, as the pages spell them), else as the class file does.
    std::optional<QString> memberLinkTarget(
        const ParsedFile& file, const QString& binary, const QString& name, const std::optional<QStringList>& types)
    {
        const std::shared_ptr<const LoadedClass> cls = library.linkedClass(toInternal(binary));
        if (!cls)
            return std::nullopt;
        Wanted w;
        w.name = name;
        w.constructor = name == QLatin1String("<init>");
        w.typesKnown = types.has_value();
        w.types = types.value_or(QStringList());
        w.count = types ? int(types->size()) : -1;
        std::vector<const LoadedClass*> order;
        std::unordered_set<const LoadedClass*> seen;
        // A constructor is the class's own; a method may be inherited.
        for (const LoadedClass* s = cls.get(); s && order.size() < kMaxSupertypes && (order.empty() || !w.constructor);
             s = s->superclass.get())
            if (seen.insert(s).second)
                order.push_back(s);
        for (size_t n = 0; n < order.size() && order.size() < kMaxSupertypes && !w.constructor; ++n)
            for (const auto& i : order[n]->interfaces)
                if (i && seen.insert(i.get()).second)
                    order.push_back(i.get());
        // The types as written, in every class first; else the one method
        // of that many parameters ("#add(E)" names the erased add(Object)).
        const auto declares = [&](const LoadedClass& c, bool exact) -> const MethodInfo* {
            const MethodInfo* byCount = nullptr;
            int sameCount = 0;
            for (const MethodInfo& m : c.info.methods) {
                if ((m.access & platform::classlib::ACC_BRIDGE) || QString::fromStdString(m.name) != name)
                    continue;
                const QStringList declared = descriptorTypes(m.descriptor);
                if (!w.typesKnown || declared == w.types)
                    return &m;
                if (declared.size() == w.types.size() && sameCount++ == 0)
                    byCount = &m;
            }
            return !exact && sameCount == 1 ? byCount : nullptr;
        };
        for (const bool exact : {true, false}) {
            for (const LoadedClass* c : order) {
                const MethodInfo* found = declares(*c, exact);
                if (!found)
                    continue;
                QStringList declared = descriptorTypes(found->descriptor);
                const std::string& top = file.topInternal;
                if (c->internalName == top || c->internalName.rfind(top + "$", 0) == 0) {
                    if (const std::optional<FoundType> t = findType(c->internalName)) {
                        if (const SourceMember* m = findMember(*t, w, true)) {
                            declared.clear();
                            for (const SourceParam& p : m->params) declared << p.type;
                        }
                    }
                }
                return memberTarget(binaryName(c->internalName), name, declared);
            }
        }
        return std::nullopt;
    }

    std::optional<Target> targetOfTexts(const SourceRequest& request);
    std::optional<Target> targetOfMember(const platform::Member& member);
    void preferDocumentedDeclarer(Target& target);
    std::vector<Commented> commentChain(const FoundType& own, const SourceMember& member,
        const std::vector<Candidate>& supertypes, const Wanted& inherited);
    QString memberText(const FoundType& own, const SourceMember& member, const LoadedClass& cls, const Wanted& w,
        QHash<QString, QString>& nested);
    QString document(const SourceRequest& request);
};

namespace {

// The comment of one member and where it came from.
struct Commented {
    FoundType type;
    const SourceMember* member = nullptr;
    CommentParts parts;
    bool isInterface = false;
};

class PartResolver {
public:
    explicit PartResolver(std::vector<Commented> chain) : chain_(std::move(chain)) { }

    // The text of a part: the member's own, its {@inheritDoc} replaced, or
    // the first supertype's that has it. `from` gets the index that answered.
    // What one document inherits in all is bounded like its text: once the
    // parts handed out reach the cap, later ones (shown past the cap, and cut
    // there) inherit nothing, so that 255 parameters cannot each take a full
    // cap's worth.
    QString part(const std::function<QString(const Commented&)>& get, size_t start, size_t* from = nullptr) const
    {
        QString text = expand(get, start, from, handedOut_ < kMaxDocChars);
        handedOut_ += text.size();
        return text;
    }

    const std::vector<Commented>& chain() const { return chain_; }

private:
    QString expand(const std::function<QString(const Commented&)>& get, size_t start, size_t* from, bool inherit) const
    {
        for (size_t i = start; i < chain_.size(); ++i) {
            QString text = get(chain_[i]);
            if (platform::javaTrim(text).isEmpty())
                continue;
            if (from)
                *from = i;
            if (hasInheritDoc(text))
                text = replaceInheritDoc(text, inherit ? expand(get, i + 1, nullptr, true) : QString());
            return text;
        }
        return QString();
    }

    std::vector<Commented> chain_;
    mutable qsizetype handedOut_ = 0;
};

QString paramText(const Commented& c, size_t position, bool typeParam)
{
    if (!c.member)
        return QString();
    QString name;
    if (typeParam) {
        const auto vars = typeVariablesOf(c.member->typeParameters);
        if (position >= vars.size())
            return QString();
        name = QLatin1Char('<') + vars[position].first + QLatin1Char('>');
    } else {
        if (position >= c.member->params.size())
            return QString();
        name = c.member->params[position].name;
    }
    for (const CommentTag& tag : c.parts.tags) {
        if (tag.name != QLatin1String("param"))
            continue;
        const auto [word, rest] = firstWord(tag.text);
        if (word == name)
            return rest;
    }
    return QString();
}

QString tagText(const Commented& c, const char* name)
{
    const CommentTag* tag = c.parts.find(QLatin1String(name));
    return tag ? tag->text : QString();
}

// The shared writer, fed a comment's markup line by line.
class Output {
public:
    explicit Output(const QString& signature) { writer_.signature(signature); }
    Output(const QString& signature, const std::vector<DocLink>& spans) { writer_.signature(signature, spans); }

    void lines(const QString& markup)
    {
        for (const QString& line : markupLines(markup)) writer_.line(line);
    }
    // The lines lines(prefix + renderInlineTags(raw)) writes, with the
    // comment's references linked where `links` resolves them, and the
    // prefix's first `linkedLength` characters linked to `prefixRef`.
    void linked(const QString& prefix, const QString& raw, const ValueLookup& value, const SourceLinks* links,
        qsizetype linkedLength = 0, const QString& prefixRef = QString())
    {
        const bool markable = links && !hasLinkMarks(prefix) && !hasLinkMarks(raw);
        if (!markable) {
            lines(prefix + renderInlineTags(raw, value));
            return;
        }
        QStringList refs;
        QString markup = prefix;
        if (linkedLength > 0) {
            markup.insert(linkedLength, QChar(kLinkClose));
            markup.prepend(QChar(kLinkOpen));
            refs << prefixRef;
        }
        markup = markAnchors(markup + renderInlineTags(raw, value, &refs), refs);
        const std::optional<std::vector<MarkedLine>> marked =
            refs.isEmpty() ? std::nullopt : markedLines(markup, refs.size());
        if (!marked) {
            lines(refs.isEmpty() ? markup : prefix + renderInlineTags(raw, value));
            return;
        }
        std::vector<std::optional<QString>> targets(size_t(refs.size()));
        std::vector<bool> resolved(size_t(refs.size()), false);
        for (const MarkedLine& line : *marked) {
            std::vector<DocLink> spans;
            for (const DocLink& span : line.spans) {
                const size_t ref = span.target.toULong();
                if (ref >= targets.size())
                    continue;
                if (!resolved[ref]) {
                    targets[ref] = links->target(refs[qsizetype(ref)]);
                    resolved[ref] = true;
                }
                if (targets[ref])
                    spans.push_back(DocLink {span.start, span.length, *targets[ref]});
            }
            writer_.line(line.text, spans);
        }
    }
    // One line of plain text with links on spans of it.
    void linked(const QString& line, const std::vector<DocLink>& spans) { writer_.line(line, spans); }
    void label(const char* upper) { writer_.label(QLatin1String(upper)); }
    const QString& text() const { return writer_.text(); }
    const std::vector<DocLink>& links() const { return writer_.links(); }

private:
    DocWriter writer_;
};

// Modifiers as javadoc shows them, in its order.
QString shownModifiers(const SourceMember& m, const SourceType& owner)
{
    const bool inInterface = owner.kind == SourceType::Kind::Interface || owner.kind == SourceType::Kind::Annotation;
    static const char* const order[] = {"public", "protected", "private", "abstract", "default", "static", "final"};
    QStringList shown;
    for (const char* word : order) {
        const QString w = QLatin1String(word);
        if (!m.modifiers.contains(w))
            continue;
        if (inInterface && (w == QLatin1String("public") || w == QLatin1String("abstract")))
            continue;
        shown << w;
    }
    if (!inInterface && !m.modifiers.contains(QLatin1String("public")) &&
        !m.modifiers.contains(QLatin1String("protected")) && !m.modifiers.contains(QLatin1String("private")) &&
        m.kind == SourceMember::Kind::Constructor && owner.kind == SourceType::Kind::Record)
        shown.prepend(QStringLiteral("public"));
    return shown.join(QLatin1Char(' '));
}

// Nested types of the file written as their enclosing type writes them
// elsewhere: "State" → "Thread.State".
void collectNestedNames(const SourceType& t, const QString& prefix, QHash<QString, QString>& out)
{
    for (const SourceType& n : t.nested) {
        const QString full = prefix + t.name + QLatin1Char('.') + n.name;
        if (!out.contains(n.name))
            out.insert(n.name, full);
        collectNestedNames(n, prefix + t.name + QLatin1Char('.'), out);
    }
}

QString qualifyNested(const QString& type, const QHash<QString, QString>& nested)
{
    if (nested.isEmpty())
        return type;
    static const QRegularExpression word(QStringLiteral("[\\w$]+"));
    QString out;
    qsizetype last = 0;
    for (auto it = word.globalMatch(type); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += QStringView(type).mid(last, m.capturedStart() - last);
        const bool qualified = m.capturedStart() > 0 && type[m.capturedStart() - 1] == QLatin1Char('.');
        const auto found = nested.constFind(m.captured());
        out += !qualified && found != nested.constEnd() ? found.value() : m.captured();
        last = m.capturedEnd();
    }
    return out + QStringView(type).mid(last);
}

// A signature's types with their offsets in it, for its links.
using TypePieces = std::vector<std::pair<qsizetype, QString>>;

QString signatureOf(
    const SourceMember& m, const SourceType& owner, const QHash<QString, QString>& nested, TypePieces* pieces = nullptr)
{
    QString sig = shownModifiers(m, owner);
    auto add = [&](const QString& part) {
        if (part.isEmpty())
            return;
        if (!sig.isEmpty())
            sig += QLatin1Char(' ');
        sig += part;
    };
    TypePieces found;
    add(m.typeParameters);
    if (!m.typeParameters.isEmpty())
        found.emplace_back(sig.size() - m.typeParameters.size(), m.typeParameters);
    if (m.kind == SourceMember::Kind::Method) {
        const QString type = qualifyNested(m.returnType, nested);
        add(type);
        found.emplace_back(sig.size() - type.size(), type);
    }
    QStringList params;
    qsizetype at = 0;  // from the parameter list's start
    for (const SourceParam& p : m.params) {
        const QString type = qualifyNested(p.type, nested);
        found.emplace_back(-at - 1, type);  // placed once the list's start is known
        params << type + QLatin1Char(' ') + p.name;
        at += params.last().size() + 2;
    }
    if (owner.kind == SourceType::Kind::Annotation && m.params.empty()) {
        add(m.name);  // an annotation interface's element: javadoc shows no parentheses
    } else {
        add(m.name + QLatin1Char('(') + params.join(QLatin1String(", ")) + QLatin1Char(')'));
        const qsizetype listStart = sig.size() - 1 - (at > 0 ? at - 2 : 0);
        for (auto& piece : found)
            if (piece.first < 0)
                piece.first = listStart - piece.first - 1;
    }
    if (!m.throwsTypes.isEmpty()) {
        QStringList t;
        qsizetype from = sig.size() + 8;  // after " throws "
        for (const QString& x : m.throwsTypes) {
            t << qualifyNested(x, nested);
            found.emplace_back(from, t.last());
            from += t.last().size() + 2;
        }
        add(QLatin1String("throws ") + t.join(QLatin1String(", ")));
    }
    if (pieces)
        *pieces = std::move(found);
    return sig;
}

QString valueOf(const FoundType& t, const QString& reference)
{
    QString field = reference;
    const qsizetype hash = field.indexOf(QLatin1Char('#'));
    if (hash >= 0)
        field = field.mid(hash + 1);
    if (field.isEmpty())
        return QString();
    std::vector<const SourceType*> types {t.type};
    for (auto it = t.outers.rbegin(); it != t.outers.rend(); ++it) types.push_back(*it);
    for (const SourceType* type : types)
        for (const SourceMember& m : type->members)
            if (m.kind == SourceMember::Kind::Field && m.name == field && !m.initializer.isEmpty())
                return constantText(m.initializer);
    return QString();
}

// javadoc's own texts for the members the compiler writes.
QString enumValuesText(const QString& typeName)
{
    Output out(QStringLiteral("public static ") + typeName + QStringLiteral("[] values()"));
    out.lines(QStringLiteral("Returns an array containing the constants of this enum class, in\n"
                             "the order they are declared."));
    out.label("RETURNS:");
    out.lines(QStringLiteral("an array containing the constants of this enum class, in the order they are declared"));
    return out.text();
}

QString enumValueOfText(const QString& typeName)
{
    Output out(QStringLiteral("public static ") + typeName + QStringLiteral(" valueOf(String name)"));
    out.lines(QStringLiteral("Returns the enum constant of this class with the specified name.\n"
                             "The string must match <i>exactly</i> an identifier used to declare an\n"
                             "enum constant in this class.  (Extraneous whitespace characters are \n"
                             "not permitted.)"));
    out.label("PARAMETERS:");
    out.lines(QStringLiteral("name - the name of the enum constant to be returned."));
    out.label("RETURNS:");
    out.lines(QStringLiteral("the enum constant with the specified name"));
    out.label("THROWS:");
    out.lines(QStringLiteral("IllegalArgumentException - if this enum class has no constant with the specified name\n"
                             "NullPointerException - if the argument is null"));
    return out.text();
}

// The class whose source documents the member, and what to look for in it.
struct Target {
    std::shared_ptr<const LoadedClass> cls;
    Wanted wanted;
};

// Everything the sections of one member's text read.
struct MemberContext {
    const FoundType& own;
    const SourceMember& member;
    const std::vector<Candidate>& supertypes;
    const PartResolver& resolver;
    const ValueLookup& value;
    // The links of the comment at that place of the chain (nullptr: none).
    const std::function<const SourceLinks*(size_t)>& links;

    const Commented& me() const { return resolver.chain().front(); }
    bool ownDescription() const { return !platform::javaTrim(me().parts.description).isEmpty(); }
};

// The type's nested names and the file's imports of nested types, as javadoc
// writes them in a signature.
QHash<QString, QString> nestedNamesOf(const FoundType& own)
{
    QHash<QString, QString> nested;
    const SourceType* top = own.outers.empty() ? own.type : own.outers.front();
    collectNestedNames(*top, QString(), nested);
    for (auto it = own.file->file.nestedImports.constBegin(); it != own.file->file.nestedImports.constEnd(); ++it)
        if (!nested.contains(it.key()))
            nested.insert(it.key(), it.value());
    return nested;
}

// The members the compiler writes, which no source declares: an enum's values
// and valueOf, a record's accessors, a class's default constructor. "" for
// anything else.
QString compilerWrittenText(
    const SourceType& type, const Wanted& w, const QString& shownTypeName, const QHash<QString, QString>& nested)
{
    if (type.kind == SourceType::Kind::Enum && w.name == QLatin1String("values") && w.count <= 0)
        return enumValuesText(shownTypeName);
    if (type.kind == SourceType::Kind::Enum && w.name == QLatin1String("valueOf") && w.count == 1)
        return enumValueOfText(shownTypeName);
    if (type.kind == SourceType::Kind::Record && w.count <= 0) {
        for (const SourceParam& c : type.recordComponents) {
            if (c.name != w.name)
                continue;
            Output out(QStringLiteral("public ") + qualifyNested(c.type, nested) + QLatin1Char(' ') + c.name +
                QStringLiteral("()"));
            out.lines(QStringLiteral("Returns the value of the ") + c.name + QStringLiteral(" record component."));
            const CommentParts parts = splitComment(type.doc, type.docSyntax);
            const CommentTag* p = parts.find(QStringLiteral("param"), c.name);
            out.label("RETURNS:");
            out.lines(p ? renderInlineTags(firstWord(p->text).second)
                        : QStringLiteral("the value of the ") + c.name + QStringLiteral(" record component"));
            return out.text();
        }
    }
    const bool declaresConstructor = std::any_of(type.members.begin(), type.members.end(),
        [](const SourceMember& m) { return m.kind == SourceMember::Kind::Constructor; });
    if (w.constructor && !declaresConstructor && w.count <= 0 && type.kind == SourceType::Kind::Class) {
        // The default constructor: javadoc shows its signature alone.
        return Output(QStringLiteral("public ") + type.name + QStringLiteral("()")).text();
    }
    return QString();
}

// Whether any part of the text must come from the supertypes' comments.
bool needsInheritance(const CommentParts& own, const SourceMember& member, bool hasSupertypes)
{
    const bool ownDescription = !platform::javaTrim(own.description).isEmpty();
    return hasSupertypes &&
        (!ownDescription || hasInheritDoc(member.doc) || !own.find(QStringLiteral("return")) ||
            !own.find(QStringLiteral("see")) ||
            member.params.size() > size_t(std::count_if(own.tags.begin(), own.tags.end(),
                                       [](const CommentTag& t) { return t.name == QLatin1String("param"); })));
}

// The deprecation block: the member's own, or its class's when that is to be removed.
void writeDeprecation(Output& out, const MemberContext& c)
{
    const CommentTag* deprecated = c.me().parts.find(QStringLiteral("deprecated"));
    const bool forRemoval = c.member.deprecation == 2 || c.own.type->deprecation == 2;
    if (forRemoval)
        out.lines(
            QStringLiteral("Deprecated, for removal: This API element is subject to removal in a future version."));
    else if (deprecated || c.member.deprecation)
        out.lines(QStringLiteral("Deprecated."));
    if (deprecated)
        out.linked(QString(), deprecated->text, c.value, c.links(0));
}

void writeDescription(Output& out, const MemberContext& c)
{
    size_t from = 0;
    const QString description = c.resolver.part([](const Commented& e) { return e.parts.description; }, 0, &from);
    if (description.isEmpty())
        return;
    if (from > 0) {
        const Commented& source = c.resolver.chain()[from];
        out.lines(QStringLiteral("Description copied from ") +
            (source.isInterface ? QStringLiteral("interface: ") : QStringLiteral("class: ")) +
            displayName(source.type.internalName));
    }
    out.linked(QString(), description, c.value, c.links(from));
}

// "add in interface List": the member's name links to the supertype's
// method, the supertype's name to its class.
void supertypeLine(Output& out, const MemberContext& c, const char* kind, const std::string& internalName)
{
    const QString binaryName = QString::fromStdString(internalName).replace(QLatin1Char('/'), QLatin1Char('.'));
    const QString shown = displayName(internalName);
    const QString head = c.member.name + QLatin1String(kind);
    QStringList types;
    for (const SourceParam& p : c.member.params) types << p.type;
    out.linked(head + shown,
        {DocLink {0, c.member.name.size(), memberTarget(binaryName, c.member.name, types)},
            DocLink {head.size(), shown.size(), binaryName}});
}

// SPECIFIED BY and OVERRIDES from the class library.
void writeSupertypes(Output& out, const MemberContext& c)
{
    // The nearest superclass's method: specified by when abstract, else overridden.
    const auto nearest =
        std::find_if(c.supertypes.begin(), c.supertypes.end(), [](const Candidate& s) { return !s.isInterface; });
    const bool nearestShown = nearest != c.supertypes.end() && nearest->isPublic;
    if (nearestShown && nearest->isAbstract) {
        out.label("SPECIFIED BY:");
        supertypeLine(out, c, " in class ", nearest->internalName);
    }
    for (const Candidate& s : c.supertypes) {
        if (!s.isInterface || !s.isPublic)
            continue;
        out.label("SPECIFIED BY:");
        supertypeLine(out, c, " in interface ", s.internalName);
    }
    if (nearestShown && !nearest->isAbstract) {
        out.label("OVERRIDES:");
        supertypeLine(out, c, " in class ", nearest->internalName);
    }
}

void writeNotes(Output& out, const MemberContext& c)
{
    static const struct {
        const char* tag;
        const char* label;
    } notes[] = {
        {"apiNote", "API NOTE:"}, {"implSpec", "IMPLEMENTATION REQUIREMENTS:"}, {"implNote", "IMPLEMENTATION NOTE:"}};
    for (const auto& note : notes) {
        if (const CommentTag* tag = c.me().parts.find(QLatin1String(note.tag))) {
            out.label(note.label);
            out.linked(QString(), tag->text, c.value, c.links(0));
        }
    }
}

// A part's text, where in the chain it came from, and what comes before it.
struct FoundPart {
    QString prefix;
    QString raw;
    size_t from = 0;
};

void writeParts(Output& out, const MemberContext& c, const char* label, const std::vector<FoundPart>& parts)
{
    if (parts.empty())
        return;
    out.label(label);
    for (const FoundPart& p : parts) out.linked(p.prefix, p.raw, c.value, c.links(p.from));
}

void writeTypeParameters(Output& out, const MemberContext& c)
{
    const auto typeVars = typeVariablesOf(c.member.typeParameters);
    std::vector<FoundPart> typeParams;
    for (size_t i = 0; i < typeVars.size(); ++i) {
        size_t from = 0;
        const QString text = c.resolver.part([i](const Commented& e) { return paramText(e, i, true); }, 0, &from);
        if (!text.isEmpty())
            typeParams.push_back({typeVars[i].first + QStringLiteral(" - "), text, from});
    }
    writeParts(out, c, "TYPE PARAMETERS:", typeParams);
}

void writeParameters(Output& out, const MemberContext& c)
{
    std::vector<FoundPart> params;
    for (size_t i = 0; i < c.member.params.size(); ++i) {
        size_t from = 0;
        const QString text = c.resolver.part([i](const Commented& e) { return paramText(e, i, false); }, 0, &from);
        if (!text.isEmpty())
            params.push_back({c.member.params[i].name + QStringLiteral(" - "), text, from});
    }
    writeParts(out, c, "PARAMETERS:", params);
}

void writeReturns(Output& out, const MemberContext& c)
{
    if (c.member.kind != SourceMember::Kind::Method || c.member.returnType == QLatin1String("void"))
        return;
    size_t from = 0;
    const QString text = c.resolver.part([](const Commented& e) { return tagText(e, "return"); }, 0, &from);
    if (!text.isEmpty())
        writeParts(out, c, "RETURNS:", {{QString(), text, from}});
}

// THROWS: the member's own, each {@inheritDoc} from the supertypes; with
// none of its own, the first supertype's.
void writeThrows(Output& out, const MemberContext& context)
{
    const PartResolver& resolver = context.resolver;
    const Commented& me = context.me();
    const bool ownDescription = context.ownDescription();
    std::vector<FoundPart> throwsLines;
    std::vector<QString> thrown;  // each line's exception as written, linked on its shown name
    for (size_t i = 0; i < resolver.chain().size() && throwsLines.empty(); ++i) {
        const Commented& c = resolver.chain()[i];
        for (const CommentTag& tag : c.parts.tags) {
            if (tag.name != QLatin1String("throws") && tag.name != QLatin1String("exception"))
                continue;
            auto [name, text] = firstWord(tag.text);
            const QString shown = simpleTail(name);
            if (hasInheritDoc(text)) {
                text = replaceInheritDoc(text,
                    resolver.part(
                        [&](const Commented& s) {
                            for (const CommentTag& t : s.parts.tags) {
                                const auto [n, rest] = firstWord(t.text);
                                if ((t.name == QLatin1String("throws") || t.name == QLatin1String("exception")) &&
                                    simpleTail(n) == shown)
                                    return rest;
                            }
                            return QString();
                        },
                        i + 1));
            }
            throwsLines.push_back({shown + (text.isEmpty() ? QString() : QStringLiteral(" - ")), text, i});
            thrown.push_back(name);
        }
        if (i == 0 && !me.member->doc.isEmpty() && ownDescription)
            break;  // a documented member does not take the supertypes' THROWS
    }
    if (throwsLines.empty())
        return;
    out.label("THROWS:");
    for (size_t n = 0; n < throwsLines.size(); ++n) {
        const FoundPart& t = throwsLines[n];
        const qsizetype nameEnd = t.prefix.size() - (t.raw.isEmpty() ? 0 : 3);
        out.linked(t.prefix, t.raw, context.value, context.links(t.from), nameEnd, thrown[n]);
    }
}

void writeSince(Output& out, const MemberContext& c)
{
    if (const CommentTag* since = c.me().parts.find(QStringLiteral("since"))) {
        out.label("SINCE:");
        out.linked(QString(), since->text, c.value, c.links(0));
    }
}

// SEE ALSO: the member's own, else the first supertype's (as javadoc does).
// seeLabel names a reference to a class or member as javadoc prints it.
void writeSeeAlso(Output& out, const MemberContext& c, const std::function<QString(const QString&)>& seeLabel)
{
    size_t seeFrom = 0;
    for (size_t i = 0; i < c.resolver.chain().size(); ++i) {
        if (c.resolver.chain()[i].parts.find(QStringLiteral("see"))) {
            seeFrom = i;
            break;
        }
    }
    const Commented* seeSource = &c.resolver.chain()[seeFrom];
    QStringList sees;
    std::vector<QString> refs;  // each line's reference, "" for a text
    for (const CommentTag& tag : seeSource->parts.tags) {
        if (tag.name != QLatin1String("see"))
            continue;
        const QString t = platform::javaTrim(tag.text);
        if (t.startsWith(QLatin1Char('"')) || t.startsWith(QLatin1Char('<'))) {
            QString s = t;
            if (s.startsWith(QLatin1Char('"')))
                s.remove(QLatin1Char('"'));
            sees << s;
            refs.emplace_back();
            continue;
        }
        const auto [ref, label] = splitReference(t);
        sees << (label.isEmpty() ? seeLabel(ref) : label);
        refs.push_back(ref);
    }
    if (sees.isEmpty())
        return;
    out.label("SEE ALSO:");
    for (qsizetype n = 0; n < sees.size(); ++n) {
        if (refs[size_t(n)].isEmpty())
            out.lines(sees[n]);
        else
            out.linked(sees[n], QString(), c.value, c.links(seeFrom), sees[n].size(), refs[size_t(n)]);
    }
}

void writeBookReferences(Output& out, const MemberContext& c)
{
    static const struct {
        const char* tag;
        const char* label;
    } languageBooks[] = {
        {"jls", "SEE JAVA LANGUAGE SPECIFICATION:"}, {"jvms", "SEE JAVA VIRTUAL MACHINE SPECIFICATION:"}};
    for (const auto& book : languageBooks) {
        QStringList refs;
        for (const CommentTag& tag : c.me().parts.tags)
            if (tag.name == QLatin1String(book.tag))
                refs << renderInlineTags(tag.text, c.value);
        if (!refs.isEmpty()) {
            out.label(book.label);
            for (const QString& r : refs) out.lines(r);
        }
    }
}

}  // namespace

// The selection's texts: the group names the class ("constructors": the
// class field's), the leaf its name and parameter types.
std::optional<Target> SourceDocs::Impl::targetOfTexts(const SourceRequest& request)
{
    const bool constructor = request.groupName == platform::kConstructorsGroup;
    // (the package-named group below is a constructor group too)
    QString className = platform::javaTrim(constructor ? request.nameText : request.groupName);
    if (className.isEmpty())
        return std::nullopt;
    std::shared_ptr<const LoadedClass> cls = library.linkedClass(toInternal(className));
    if (!cls && platform::hasOldSwingRoot(className))
        cls = library.linkedClass(toInternal(platform::toModernSwingRoot(className)));
    bool packageGroup = false;
    if (!cls && !constructor && !request.memberName.isEmpty()) {
        // The group of a class's constructors may keep the package's name
        // ("java.util" over "ServiceConfigurationError(String)").
        className += QLatin1Char('.') + simpleTail(request.memberName);
        cls = library.linkedClass(toInternal(className));
        if (!cls && platform::hasOldSwingRoot(className))
            cls = library.linkedClass(toInternal(platform::toModernSwingRoot(className)));
        packageGroup = cls != nullptr;
    }
    if (!cls)
        return std::nullopt;

    Target target;
    target.cls = std::move(cls);
    Wanted& w = target.wanted;
    w.constructor = constructor || packageGroup;
    w.name = simpleTail(request.memberName);
    if (const std::optional<QStringList> types = leafParameterTypes(request.leafText)) {
        w.types = *types;
        w.typesKnown = true;
        w.count = int(types->size());
    } else {
        w.count = request.commaCount < 0 ? 0 : request.commaCount + 1;
        w.atLeast = request.commaCount >= 6;
    }
    if (w.name.isEmpty() && !constructor)
        w.typesKnown = false;  // a group node: the first member with the count
    return target;
}

// The lookup's member: its declaring class and erased parameter types as they are.
std::optional<Target> SourceDocs::Impl::targetOfMember(const platform::Member& member)
{
    Target target;
    target.cls = library.linkedClass(toInternal(member.declaringClass));
    if (!target.cls)
        return std::nullopt;
    Wanted& w = target.wanted;
    w.constructor = member.kind == platform::MemberKind::Constructor;
    w.name = simpleTail(member.name);
    for (const QString& type : member.parameterTypes) w.types << simpleTail(type);
    w.typesKnown = true;
    w.count = int(w.types.size());
    return target;
}

// A public method of a package-private superclass is listed under the
// public class, and documented there by javadoc too.
void SourceDocs::Impl::preferDocumentedDeclarer(Target& target)
{
    for (std::shared_ptr<const LoadedClass> c = target.cls; c; c = c->superclass) {
        if (c != target.cls && isPublicType(*c))
            break;
        const std::optional<FoundType> t = findType(c->internalName);
        if (t && findMember(*t, target.wanted, false)) {
            target.cls = c;
            break;
        }
    }
}

// The member's comment first, then, when a part is missing from it, the
// comments of the supertypes' declarations in javadoc's search order.
std::vector<Commented> SourceDocs::Impl::commentChain(
    const FoundType& own, const SourceMember& member, const std::vector<Candidate>& supertypes, const Wanted& inherited)
{
    std::vector<Commented> chain;
    Commented self;
    self.type = own;
    self.member = &member;
    self.parts = splitComment(member.doc, member.docSyntax);
    chain.push_back(std::move(self));
    if (!needsInheritance(chain.front().parts, member, !supertypes.empty()))
        return chain;
    for (const Candidate& c : supertypes) {
        Commented entry;
        entry.isInterface = c.isInterface;
        if (std::optional<FoundType> t = findType(c.internalName)) {
            entry.type = *t;
            entry.member = findMember(*t, inherited, true);
            if (entry.member)
                entry.parts = splitComment(entry.member->doc, entry.member->docSyntax);
        }
        entry.type.internalName = c.internalName;
        chain.push_back(std::move(entry));
    }
    return chain;
}

QString SourceDocs::Impl::memberText(const FoundType& own, const SourceMember& member, const LoadedClass& cls,
    const Wanted& w, QHash<QString, QString>& nested)
{
    // The hierarchy: OVERRIDES and SPECIFIED BY, and where missing parts come from.
    Wanted inherited = w;
    if (member.kind == SourceMember::Kind::Method && w.name.isEmpty())
        inherited.name = member.name;
    std::vector<Candidate> supertypes;
    const bool isStatic = member.modifiers.contains(QLatin1String("static"));
    if (member.kind == SourceMember::Kind::Method && !isStatic)
        supertypes = declaringSupertypes(cls, inherited);
    const PartResolver resolver(commentChain(own, member, supertypes, inherited));
    const ValueLookup value = [&](const QString& ref) { return valueOf(own, ref); };
    std::vector<std::unique_ptr<SourceLinks>> built(resolver.chain().size());
    const std::function<const SourceLinks*(size_t)> links = [&](size_t at) -> const SourceLinks* {
        if (!resolveLinks || at >= built.size() || !resolver.chain()[at].type.file || !resolver.chain()[at].type.type)
            return nullptr;
        if (!built[at])
            built[at] = linksIn(resolver.chain()[at].type);
        return built[at].get();
    };
    const MemberContext context {own, member, supertypes, resolver, value, links};

    addInheritedMemberTypes(member, cls, nested);
    TypePieces pieces;
    const QString signature = signatureOf(member, *own.type, nested, &pieces);
    // A class's type variables link to the class, as its page documents
    // them; the member's own and the enclosing types' nowhere.
    QHash<QString, QString> typeVariables;
    for (const auto& variable : scope(own, &member)) typeVariables.insert(variable.first, QString());
    for (const auto& variable : typeVariablesOf(own.type->typeParameters))
        typeVariables.insert(variable.first, binaryName(own.internalName));
    for (const auto& variable : typeVariablesOf(member.typeParameters)) typeVariables.insert(variable.first, QString());
    std::vector<DocLink> signatureLinks;
    if (const SourceLinks* ownLinks = links(0))
        for (const auto& [at, type] : pieces)
            for (DocLink& link : ownLinks->typeSpans(type, at, typeVariables))
                signatureLinks.push_back(std::move(link));
    Output out(signature, signatureLinks);
    writeDeprecation(out, context);
    writeDescription(out, context);
    writeSupertypes(out, context);
    writeNotes(out, context);
    writeTypeParameters(out, context);
    writeParameters(out, context);
    writeReturns(out, context);
    writeThrows(out, context);
    writeSince(out, context);
    writeSeeAlso(out, context, [&](const QString& ref) { return seeLabel(ref, cls); });
    writeBookReferences(out, context);
    lastLinks = out.links();
    return out.text();
}

QString SourceDocs::Impl::document(const SourceRequest& request)
{
    lastLinks.clear();
    std::optional<Target> target = request.member ? targetOfMember(*request.member) : targetOfTexts(request);
    if (!target)
        return QString();
    if (!target->wanted.constructor)
        preferDocumentedDeclarer(*target);
    const std::optional<FoundType> own = findType(target->cls->internalName);
    if (!own)
        return QString();
    QHash<QString, QString> nested = nestedNamesOf(*own);
    const SourceMember* member = findMember(*own, target->wanted, false);
    if (!member)
        return compilerWrittenText(*own->type, target->wanted, displayName(target->cls->internalName), nested);
    return memberText(*own, *member, *target->cls, target->wanted, nested);
}

SourceDocs::SourceDocs(ClassLibrary& library) : impl_(std::make_unique<Impl>(library)) { }

SourceDocs::~SourceDocs() = default;

void SourceDocs::dropParsedFiles()
{
    impl_->parsed.clear();
}

QString SourceDocs::document(const SourceRequest& request, std::vector<DocLink>* links)
{
    try {
        // Shown and bounded like every page's member text: the window never lays out more.
        impl_->resolveLinks = links != nullptr;
        const QString written = impl_->document(request);
        QString text = platform::showControlChars(written);
        capDocText(text);
        // Escaped control characters move what follows them: such a text has no links.
        if (links && text.size() <= written.size() && QStringView(written).startsWith(text)) {
            for (const DocLink& link : impl_->lastLinks)
                if (link.start + link.length <= text.size())
                    links->push_back(link);
        }
        return text;
    } catch (const std::bad_alloc&) {
        return QString();
    }
}

QString sourceDoc(const SourceRequest& request, std::vector<DocLink>* links)
{
    static SourceDocs docs(ClassLibrary::system());
    return docs.document(request, links);
}

namespace {

class SystemSourceReader final : public javadoc::SourceReader {
public:
    std::optional<QString> document(const javadoc::DocSelection& selection) override
    {
        std::vector<DocLink> links;
        return documentWithLinks(selection, links);
    }

    std::optional<QString> documentWithLinks(
        const javadoc::DocSelection& selection, std::vector<DocLink>& links) override
    {
        const SelectionArgs& args = selection.args;
        links.clear();
        QString text = sourceDoc({args.memberName, args.commaCount, args.groupName, selection.nameText,
                                     selection.leafText, selection.member},
            &links);
        return text.isEmpty() ? std::nullopt : std::optional(std::move(text));
    }
};

}  // namespace

javadoc::SourceReader& systemSourceReader()
{
    static SystemSourceReader reader;
    return reader;
}

}  // namespace javadoc::source
