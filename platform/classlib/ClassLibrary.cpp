#include "platform/classlib/ClassLibrary.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <functional>

#include "platform/classlib/ClassFile.h"
#include "platform/classlib/MemberPrinter.h"

namespace platform::classlib {

namespace {

constexpr int kMaxHierarchyDepth = 2048;

// Why a class could not be loaded: `cls` is the internal name of the class
// that failed, which may be a supertype of the one asked for.
struct LoadFailure {
    enum Kind { NotFound, Unreadable } kind;
    std::string cls;
    std::string reason;
};

std::string dotted(std::string_view internalName)
{
    std::string s(internalName);
    std::replace(s.begin(), s.end(), '/', '.');
    return s;
}

bool isDirectory(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool isRegularFile(const std::string& path)
{
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::vector<std::string> splitPathList(const std::string& list)
{
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t colon = list.find(':', start);
        parts.push_back(list.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    return parts;
}

// JDK home of the `java` found on PATH, following its links; "" when none.
std::string javaHomeFromPath(const std::string& path)
{
    for (std::string dir : splitPathList(path)) {
        if (dir.empty())
            dir = ".";
        const std::string candidate = dir + "/java";
        if (!isRegularFile(candidate) || access(candidate.c_str(), X_OK) != 0)
            continue;
        char resolved[PATH_MAX];
        if (!realpath(candidate.c_str(), resolved))
            continue;
        std::string real(resolved);
        // .../bin/java → ...
        size_t slash = real.rfind('/');
        if (slash == std::string::npos || slash == 0)
            continue;
        real.resize(slash);  // .../bin
        slash = real.rfind('/');
        if (slash == std::string::npos)
            continue;
        real.resize(slash == 0 ? 1 : slash);
        return real;
    }
    return {};
}

}  // namespace

// A class with its supertypes resolved, as the JVM links it.
struct LoadedClass {
    std::string internalName;
    std::string binaryName;  // "java.util.Map$Entry", "[Ljava.lang.String;"
    bool isInterface = false;
    std::shared_ptr<const LoadedClass> superclass;
    std::vector<std::shared_ptr<const LoadedClass>> interfaces;
    std::vector<const LoadedClass*> supertypes;  // sorted; the class itself included
    ClassFileInfo info;                          // public methods and constructors

    bool isSubtypeOf(const LoadedClass* other) const
    {
        return std::binary_search(supertypes.begin(), supertypes.end(), other);
    }

    const std::vector<MethodRef>& publicMethods() const
    {
        std::call_once(methodsOnce_, [this] { methods_ = computePublicMethods(); });
        return methods_;
    }

private:
    std::vector<MethodRef> computePublicMethods() const;

    mutable std::once_flag methodsOnce_;
    mutable std::vector<MethodRef> methods_;
};

namespace {

// Class.getMethods() of JDK 9 and later (java.lang.PublicMethods): methods are
// keyed by name and parameter types; within a key, methods with different
// return types all stay, and for the same return type the more specific
// declaring type wins, a class's method beating an interface's.
//
// Order produced (ours; the JVM promises none): keys in order of first
// appearance, where the class's own public methods come first in class-file
// order, then the superclass's list, then each direct superinterface's list
// in the order of the class file's interfaces; within a key, the surviving
// methods in the order they arrived.
class PublicMethods {
public:
    void merge(const MethodRef& method)
    {
        const Key key {method.nameView(), method.parametersView()};
        const auto [it, inserted] = index_.try_emplace(key, lists_.size());
        if (inserted) {
            lists_.push_back({method});
            ++count_;
            return;
        }
        std::vector<MethodRef>& list = lists_[it->second];
        const std::string_view rtype = method.returnView();
        const LoadedClass* dclass = method.declaringClass;
        for (size_t i = 0; i < list.size();) {
            const MethodRef& x = list[i];
            if (x.returnView() != rtype) {
                ++i;
                continue;
            }
            const LoadedClass* xdclass = x.declaringClass;
            if (dclass->isInterface == xdclass->isInterface) {
                if (xdclass->isSubtypeOf(dclass))
                    return;  // the existing method is the same or overrides the new one
                if (dclass->isSubtypeOf(xdclass)) {
                    list.erase(list.begin() + ptrdiff_t(i));  // the new one overrides it
                    --count_;
                } else {
                    ++i;  // unrelated interfaces: both stay
                }
            } else if (dclass->isInterface) {
                return;  // a class's method beats an interface's
            } else {
                list.erase(list.begin() + ptrdiff_t(i));
                --count_;
            }
        }
        list.push_back(method);
        ++count_;
    }

    std::vector<MethodRef> toVector() const
    {
        std::vector<MethodRef> all;
        all.reserve(count_);
        for (const auto& list : lists_) all.insert(all.end(), list.begin(), list.end());
        return all;
    }

private:
    struct Key {
        std::string_view name;
        std::string_view parameters;
        bool operator==(const Key& o) const { return name == o.name && parameters == o.parameters; }
    };
    struct KeyHash {
        size_t operator()(const Key& k) const
        {
            const size_t a = std::hash<std::string_view>()(k.name);
            return a ^ (std::hash<std::string_view>()(k.parameters) + 0x9e3779b97f4a7c15ull + (a << 6) + (a >> 2));
        }
    };
    std::unordered_map<Key, size_t, KeyHash> index_;
    std::vector<std::vector<MethodRef>> lists_;
    size_t count_ = 0;
};

}  // namespace

namespace {

// The JVM's Flight Recorder instruments every concrete subclass of its event
// base classes as it loads it (hotspot jfrEventClassTransformer): the class
// then declares its own public begin(), end(), commit(), isEnabled() and
// shouldCommit(), and reflection lists those. We do the same.
void addFlightRecorderMethods(LoadedClass& cls)
{
    // jdk.jfr.Event itself is loaded with its methods made non-final.
    if (cls.internalName == "jdk/jfr/Event") {
        for (MethodInfo& m : cls.info.methods) m.access &= uint16_t(~ACC_FINAL);
        return;
    }
    if (cls.isInterface || (cls.info.access & ACC_ABSTRACT))
        return;
    bool isEvent = false;
    for (const LoadedClass* s = cls.superclass.get(); s && !isEvent; s = s->superclass.get())
        isEvent = s->internalName == "jdk/internal/event/Event" || s->internalName == "jdk/jfr/Event";
    if (!isEvent)
        return;
    static const char* const added[][2] = {
        {"begin", "()V"},
        {"end", "()V"},
        {"commit", "()V"},
        {"isEnabled", "()Z"},
        {"shouldCommit", "()Z"},
    };
    for (const auto& entry : added) {
        const char* const name = entry[0];
        const char* const descriptor = entry[1];
        const bool declared = std::any_of(cls.info.methods.begin(), cls.info.methods.end(),
            [&](const MethodInfo& m) { return m.name == name && m.descriptor == descriptor; });
        if (!declared)
            cls.info.methods.push_back(MethodInfo {ACC_PUBLIC, name, descriptor, {}});
    }
}

}  // namespace

std::vector<MethodRef> LoadedClass::computePublicMethods() const
{
    PublicMethods pm;
    for (const MethodInfo& m : info.methods) {
        if (m.name != "<init>")
            pm.merge(MethodRef {this, &m});
    }
    // An interface's getSuperclass() is null: interfaces get no Object methods.
    if (superclass && !isInterface) {
        for (const MethodRef& m : superclass->publicMethods()) pm.merge(m);
    }
    for (const auto& intf : interfaces) {
        for (const MethodRef& m : intf->publicMethods()) {
            if (!(m.method->access & ACC_STATIC))  // static interface methods are not inherited
                pm.merge(m);
        }
    }
    return pm.toVector();
}

std::string_view MethodRef::nameView() const
{
    return method->name;
}

std::string_view MethodRef::parametersView() const
{
    const std::string& d = method->descriptor;
    return std::string_view(d).substr(1, d.find(')') - 1);
}

std::string_view MethodRef::returnView() const
{
    const std::string& d = method->descriptor;
    return std::string_view(d).substr(d.find(')') + 1);
}

bool MethodRef::declaringClassIsInterface() const
{
    return declaringClass->isInterface;
}
const std::string& MethodRef::declaringClassName() const
{
    return declaringClass->internalName;
}

namespace {

// The JavaClass handed out: a loaded class, under its own name or under the
// old Swing naming.
class ClassView final : public JavaClass {
public:
    ClassView(std::shared_ptr<const LoadedClass> cls, bool oldSwing, QString name)
        : cls_(std::move(cls)), oldSwing_(oldSwing), name_(std::move(name))
    { }

    QString getName() const override { return name_; }

    std::vector<JavaMember> getMethods() const override
    {
        std::vector<JavaMember> out;
        const auto& methods = cls_->publicMethods();
        out.reserve(methods.size());
        std::string buffer;
        for (const MethodRef& m : methods) {
            printMethod(m, oldSwing_, buffer);
            out.emplace_back(QString::fromUtf8(buffer.data(), qsizetype(buffer.size())));
        }
        return out;
    }

    std::vector<JavaMember> getConstructors() const override
    {
        std::vector<JavaMember> out;
        if (cls_->isInterface)
            return out;
        std::string buffer;
        for (const MethodInfo& m : cls_->info.methods) {
            if (m.name != "<init>")
                continue;
            printConstructor(MethodRef {cls_.get(), &m}, oldSwing_, buffer);
            out.emplace_back(QString::fromUtf8(buffer.data(), qsizetype(buffer.size())));
        }
        return out;
    }

private:
    std::shared_ptr<const LoadedClass> cls_;
    bool oldSwing_;
    QString name_;
};

// Binary name to internal name; "" when the JVM could never find such a name.
std::string toInternalName(const QString& binaryName)
{
    const QByteArray utf8 = binaryName.toUtf8();
    std::string s(utf8.constData(), size_t(utf8.size()));
    if (s.empty() || s.find('/') != std::string::npos || s.find('\0') != std::string::npos)
        return {};
    std::replace(s.begin(), s.end(), '.', '/');
    if (s[0] == '[') {
        std::string_view d(s);
        size_t dims = 0;
        while (dims < d.size() && d[dims] == '[') ++dims;
        if (dims > 255 || dims == d.size())
            return {};
        const std::string_view element = d.substr(dims);
        if (element.size() == 1 && std::string_view("BCDFIJSZ").find(element[0]) != std::string_view::npos)
            return s;
        if (element.size() >= 3 && element.front() == 'L' && element.back() == ';' &&
            isValidInternalClassName(element.substr(1, element.size() - 2)))
            return s;
        return {};
    }
    return isValidInternalClassName(s) ? s : std::string();
}

}  // namespace

ClassLibrary::ClassLibrary(std::vector<std::unique_ptr<ClassSource>> sources, std::string jdkHome, std::string warning)
    : sources_(std::move(sources)), jdkHome_(std::move(jdkHome)), warning_(std::move(warning))
{
    if (!sources_.empty() && !jdkHome_.empty())
        jdkLibrary_ = sources_.front()->location();
}

ClassLibrary::~ClassLibrary() = default;

void ClassLibrary::clearCache()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    cache_.clear();
}

std::shared_ptr<const LoadedClass> ClassLibrary::load(const std::string& internalName, int depth)
{
    if (const auto it = cache_.find(internalName); it != cache_.end())
        return it->second;
    if (internalName[0] == '[')
        return loadArray(internalName);
    if (depth > kMaxHierarchyDepth)
        throw LoadFailure {LoadFailure::Unreadable, internalName, "class hierarchy too deep"};
    if (loading_.count(internalName))
        throw LoadFailure {
            LoadFailure::Unreadable, internalName, "class hierarchy loops through " + dotted(internalName)};

    ResourceBytes bytes;
    std::string error;
    const ClassSource* from = nullptr;
    for (const auto& source : sources_) {
        const ClassSource::Result r = source->find(internalName, bytes, error);
        if (r == ClassSource::Result::Error)
            throw LoadFailure {LoadFailure::Unreadable, internalName, error};
        if (r == ClassSource::Result::Found) {
            from = source.get();
            break;
        }
    }
    if (!from)
        throw LoadFailure {LoadFailure::NotFound, internalName, {}};

    auto cls = std::make_shared<LoadedClass>();
    const std::string reason = parseClassFile(bytes.data, bytes.size, cls->info);
    if (!reason.empty())
        throw LoadFailure {LoadFailure::Unreadable, internalName, reason + " (in " + from->location() + ")"};
    bytes = ResourceBytes();
    ClassFileInfo& info = cls->info;
    if (info.thisClass != internalName)
        throw LoadFailure {LoadFailure::Unreadable, internalName,
            "the class file holds " + dotted(info.thisClass) + " (in " + from->location() + ")"};
    if (info.access & ACC_MODULE)
        throw LoadFailure {LoadFailure::Unreadable, internalName, "a module descriptor, not a class"};
    cls->internalName = internalName;
    cls->binaryName = dotted(internalName);
    cls->isInterface = (info.access & ACC_INTERFACE) != 0;
    if (cls->isInterface && info.superClass != "java/lang/Object")
        throw LoadFailure {
            LoadFailure::Unreadable, internalName, "an interface whose superclass is not java.lang.Object"};

    loading_.insert(internalName);
    struct Unmark {
        std::unordered_set<std::string>& set;
        const std::string& name;
        ~Unmark() { set.erase(name); }
    } unmark {loading_, internalName};

    cls->supertypes.push_back(cls.get());
    if (!info.superClass.empty()) {
        cls->superclass = load(info.superClass, depth + 1);
        if (cls->superclass->isInterface)
            throw LoadFailure {LoadFailure::Unreadable, internalName,
                "its superclass " + cls->superclass->binaryName + " is an interface"};
        if (cls->superclass->info.access & ACC_FINAL)
            throw LoadFailure {
                LoadFailure::Unreadable, internalName, "it extends the final class " + cls->superclass->binaryName};
        cls->supertypes.insert(
            cls->supertypes.end(), cls->superclass->supertypes.begin(), cls->superclass->supertypes.end());
    }
    cls->interfaces.reserve(info.interfaces.size());
    for (const std::string& name : info.interfaces) {
        auto intf = load(name, depth + 1);
        if (!intf->isInterface)
            throw LoadFailure {LoadFailure::Unreadable, internalName,
                "it implements " + intf->binaryName + ", which is not an interface"};
        cls->supertypes.insert(cls->supertypes.end(), intf->supertypes.begin(), intf->supertypes.end());
        cls->interfaces.push_back(std::move(intf));
    }
    std::sort(cls->supertypes.begin(), cls->supertypes.end());
    cls->supertypes.erase(std::unique(cls->supertypes.begin(), cls->supertypes.end()), cls->supertypes.end());
    addFlightRecorderMethods(*cls);

    cache_.emplace(internalName, cls);
    return cls;
}

// An array class: no declared members, superclass Object, interfaces
// Cloneable and Serializable; its element class must exist.
std::shared_ptr<const LoadedClass> ClassLibrary::loadArray(const std::string& descriptor)
{
    const size_t dims = descriptor.find_first_not_of('[');
    if (descriptor[dims] == 'L')
        load(descriptor.substr(dims + 1, descriptor.size() - dims - 2), 0);
    auto cls = std::make_shared<LoadedClass>();
    cls->internalName = descriptor;
    cls->binaryName = dotted(descriptor);
    cls->info.thisClass = descriptor;
    cls->info.access = ACC_PUBLIC | ACC_FINAL | ACC_ABSTRACT;
    cls->superclass = load("java/lang/Object", 0);
    cls->interfaces.push_back(load("java/lang/Cloneable", 0));
    cls->interfaces.push_back(load("java/io/Serializable", 0));
    cls->supertypes.push_back(cls.get());
    cls->supertypes.insert(
        cls->supertypes.end(), cls->superclass->supertypes.begin(), cls->superclass->supertypes.end());
    for (const auto& intf : cls->interfaces)
        cls->supertypes.insert(cls->supertypes.end(), intf->supertypes.begin(), intf->supertypes.end());
    std::sort(cls->supertypes.begin(), cls->supertypes.end());
    cls->supertypes.erase(std::unique(cls->supertypes.begin(), cls->supertypes.end()), cls->supertypes.end());
    cache_.emplace(descriptor, cls);
    return cls;
}

std::shared_ptr<const JavaClass> ClassLibrary::findDirect(
    const QString& binaryName, bool oldSwing, const QString& shownName)
{
    const std::string internalName = toInternalName(binaryName);
    if (internalName.empty())
        throw ClassNotFoundException(shownName.toStdString());
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    try {
        auto cls = load(internalName, 0);
        // Finish the merge while the hierarchy is certainly loaded.
        cls->publicMethods();
        return std::make_shared<ClassView>(std::move(cls), oldSwing, shownName);
    } catch (const LoadFailure& f) {
        if (f.cls == internalName || (internalName[0] == '[' && f.kind == LoadFailure::NotFound)) {
            if (f.kind == LoadFailure::NotFound)
                throw ClassNotFoundException(shownName.toStdString());
            throw ClassFormatError("Cannot read class " + shownName.toStdString() + ": " + f.reason);
        }
        const std::string other = dotted(f.cls);
        if (f.kind == LoadFailure::NotFound)
            throw ClassFormatError(
                "Cannot read class " + shownName.toStdString() + ": its supertype " + other + " was not found");
        if (f.reason.rfind("class hierarchy loops", 0) == 0)
            throw ClassFormatError("Cannot read class " + shownName.toStdString() + ": its " + f.reason);
        throw ClassFormatError(
            "Cannot read class " + shownName.toStdString() + ": its supertype " + other + ": " + f.reason);
    } catch (const std::bad_alloc&) {
        throw ClassFormatError("Cannot read class " + shownName.toStdString() + ": out of memory");
    }
}

std::shared_ptr<const JavaClass> ClassLibrary::forName(const QString& binaryName)
{
    static const QString oldPrefix = QStringLiteral("com.sun.java.");
    if (binaryName.startsWith(oldPrefix)) {
        try {
            return findDirect(binaryName, false, binaryName);
        } catch (const ClassNotFoundException&) {
            // Swing under its old name: "com.sun.java.X" is served by "javax.X".
            const QString modern = QStringLiteral("javax.") + binaryName.mid(oldPrefix.size());
            return findDirect(modern, true, binaryName);
        }
    }
    return findDirect(binaryName, false, binaryName);
}

ClassLibrary::Environment ClassLibrary::Environment::fromProcess()
{
    Environment env;
    if (const char* v = std::getenv("JAVA_HOME"))
        env.javaHome = v;
    if (const char* v = std::getenv("PATH"))
        env.path = v;
    if (const char* v = std::getenv("CLASSPATH")) {
        env.classPath = v;
        env.classPathSet = true;
    }
    return env;
}

std::unique_ptr<ClassLibrary> ClassLibrary::discover(const Environment& env)
{
    std::vector<std::unique_ptr<ClassSource>> sources;
    std::string home;
    std::string warning;

    std::vector<std::string> candidates;
    if (!env.javaHome.empty())
        candidates.push_back(env.javaHome);
    const std::string fromPath = javaHomeFromPath(env.path);
    if (!fromPath.empty())
        candidates.push_back(fromPath);
    candidates.push_back(env.defaultJava);

    for (const std::string& candidate : candidates) {
        if (candidate.empty())
            continue;
        const std::string modules = candidate + "/lib/modules";
        if (isRegularFile(modules)) {
            home = candidate;
            std::string error;
            if (auto image = JImage::open(modules, error))
                sources.push_back(std::make_unique<JImageSource>(modules, std::move(image)));
            else
                warning = "javaorvel: cannot read the Java class library " + error;
            break;
        }
        bool found = false;
        for (const char* jar : {"/jre/lib/rt.jar", "/lib/rt.jar"}) {
            const std::string rt = candidate + jar;
            if (!isRegularFile(rt))
                continue;
            home = candidate;
            auto source = std::make_unique<JarSource>(rt);
            const std::string error = source->open();
            if (error.empty())
                sources.push_back(std::move(source));
            else
                warning = "javaorvel: cannot read the Java class library " + error;
            found = true;
            break;
        }
        if (found)
            break;
    }
    if (home.empty())
        warning = "javaorvel: no Java class library found (no JDK under JAVA_HOME, the java on PATH or " +
            env.defaultJava + "); every class lookup will report the class as not found";

    // CLASSPATH, in order; an empty entry is the current folder and "dir/*"
    // every jar in dir, as for the JVM.
    if (env.classPathSet && !env.classPath.empty()) {
        for (std::string entry : splitPathList(env.classPath)) {
            if (entry.empty())
                entry = ".";
            if (entry == "*" || (entry.size() >= 2 && entry.compare(entry.size() - 2, 2, "/*") == 0)) {
                const std::string dir = entry.size() == 1 ? "." : entry.substr(0, entry.size() - 2);
                std::vector<std::string> jars;
                if (DIR* d = opendir(dir.c_str())) {
                    while (const dirent* e = readdir(d)) {
                        const std::string file = e->d_name;
                        if (file.size() > 4 &&
                            (file.compare(file.size() - 4, 4, ".jar") == 0 ||
                                file.compare(file.size() - 4, 4, ".JAR") == 0))
                            jars.push_back(dir + "/" + file);
                    }
                    closedir(d);
                }
                std::sort(jars.begin(), jars.end());
                for (auto& jar : jars) sources.push_back(std::make_unique<JarSource>(std::move(jar)));
            } else if (isDirectory(entry)) {
                sources.push_back(std::make_unique<FolderSource>(entry));
            } else {
                sources.push_back(std::make_unique<JarSource>(entry));
            }
        }
    }
    auto library = std::make_unique<ClassLibrary>(std::move(sources), std::string(), std::move(warning));
    library->jdkHome_ = home;
    if (!home.empty() && !library->sources_.empty() && library->warning_.empty())
        library->jdkLibrary_ = library->sources_.front()->location();
    return library;
}

ClassLibrary& ClassLibrary::system()
{
    static ClassLibrary* library = discover(Environment::fromProcess()).release();
    return *library;
}

}  // namespace platform::classlib
