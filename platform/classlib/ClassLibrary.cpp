// Loading and linking classes as the JVM does, and Class.forName's naming
// rules, the old Swing names included.

#include "platform/classlib/ClassLibrary.h"

#include <algorithm>

#include "platform/SwingNaming.h"
#include "platform/classlib/ClassFile.h"
#include "platform/classlib/CtSym.h"
#include "platform/classlib/LoadedClass.h"
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
        return printed(cls_->publicMethods(), cls_->memberValues().methods, printMethod);
    }

    std::vector<JavaMember> getConstructors() const override
    {
        std::vector<MethodRef> constructors;
        if (!cls_->isInterface) {
            for (const MethodInfo& m : cls_->info.methods)
                if (m.name == "<init>")
                    constructors.push_back({cls_.get(), &m});
        }
        return printed(constructors, cls_->memberValues().constructors, printConstructor);
    }

private:
    // The class's member values, each with the printed form of its method in
    // this view's naming.
    std::vector<JavaMember> printed(const std::vector<MethodRef>& methods, const std::vector<Member>& values,
        void (*print)(const MethodRef&, bool, std::string&)) const
    {
        std::vector<JavaMember> out;
        out.reserve(methods.size());
        std::string buffer;
        for (size_t i = 0; i < methods.size() && i < values.size(); ++i) {
            print(methods[i], oldSwing_, buffer);
            Member member = values[i];
            member.printed = QString::fromUtf8(buffer.data(), qsizetype(buffer.size()));
            out.emplace_back(std::move(member));
        }
        return out;
    }

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

    if (!info.superClass.empty()) {
        cls->superclass = load(info.superClass, depth + 1);
        if (cls->superclass->isInterface)
            throw LoadFailure {LoadFailure::Unreadable, internalName,
                "its superclass " + cls->superclass->binaryName + " is an interface"};
        if (cls->superclass->info.access & ACC_FINAL)
            throw LoadFailure {
                LoadFailure::Unreadable, internalName, "it extends the final class " + cls->superclass->binaryName};
    }
    cls->interfaces.reserve(info.interfaces.size());
    for (const std::string& name : info.interfaces) {
        auto intf = load(name, depth + 1);
        if (!intf->isInterface)
            throw LoadFailure {LoadFailure::Unreadable, internalName,
                "it implements " + intf->binaryName + ", which is not an interface"};
        cls->interfaces.push_back(std::move(intf));
    }
    collectSupertypes(*cls);
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
    collectSupertypes(*cls);
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
    if (platform::hasOldSwingRoot(binaryName)) {
        try {
            return findDirect(binaryName, false, binaryName);
        } catch (const ClassNotFoundException&) {
            // Swing under its old name: "com.sun.java.X" is served by "javax.X".
            return findDirect(platform::toModernSwingRoot(binaryName), true, binaryName);
        }
    }
    return findDirect(binaryName, false, binaryName);
}

std::string ClassLibrary::notFoundExplanation()
{
    std::lock_guard<std::mutex> lock(explanationMutex_);
    if (!explanation_) {
        explanation_.emplace();
        // Only the JDK's class library is ever a jimage, and it comes first.
        const auto* image = sources_.empty() ? nullptr : dynamic_cast<const JImageSource*>(sources_.front().get());
        if (image) {
            if (const std::string damage = image->image().damage(); !damage.empty())
                *explanation_ = "javaorvel: JDK image " + image->location() + " is damaged: " + damage;
        }
    }
    return *explanation_;
}

ClassLibrary::Origin ClassLibrary::originOf(const std::string& internalName)
{
    Origin origin;
    if (internalName.empty() || internalName[0] == '[')
        return origin;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    for (const auto& source : sources_) {
        ResourceBytes bytes;
        std::string error;
        if (source->find(internalName, bytes, error) != ClassSource::Result::Found)
            continue;
        origin.location = source->location();
        const bool fromJdk = !jdkHome_.empty() && origin.location == jdkLibrary_;
        if (const auto* image = dynamic_cast<const JImageSource*>(source.get())) {
            origin.kind = Origin::Kind::JdkImage;
            const size_t slash = internalName.rfind('/');
            origin.module = image->image().moduleOfPackage(
                slash == std::string::npos ? std::string_view() : std::string_view(internalName).substr(0, slash));
        } else if (const auto* stubs = dynamic_cast<const CtSymSource*>(source.get())) {
            origin.kind = Origin::Kind::JdkImage;
            origin.module = stubs->ctSym().moduleOf(stubs->release(), internalName);
        } else if (dynamic_cast<const FolderSource*>(source.get())) {
            origin.kind = Origin::Kind::Folder;
        } else {
            origin.kind = fromJdk ? Origin::Kind::JdkJar : Origin::Kind::Jar;
        }
        break;
    }
    return origin;
}

std::shared_ptr<const LoadedClass> ClassLibrary::linkedClass(const std::string& internalName)
{
    if (internalName.empty() || internalName[0] == '[' || !isValidInternalClassName(internalName))
        return nullptr;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    try {
        return load(internalName, 0);
    } catch (const LoadFailure&) {
        return nullptr;
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

bool& ClassLibrary::systemDiscovered()
{
    static bool discovered = false;
    return discovered;
}

namespace {
std::string& requestedSystemRelease()
{
    static std::string release;
    return release;
}
}  // namespace

void ClassLibrary::requestSystemRelease(std::string release)
{
    requestedSystemRelease() = std::move(release);
}

ClassLibrary& ClassLibrary::system()
{
    static ClassLibrary* library = [] {
        systemDiscovered() = true;
        Environment env = Environment::fromProcess();
        env.release = requestedSystemRelease();
        return discover(env).release();
    }();
    return *library;
}

bool ClassLibrary::appendToSystemClassPath(const std::vector<std::string>& entries)
{
    if (systemDiscovered())
        return false;
    auto& appended = systemAppendedClassPath();
    appended.insert(appended.end(), entries.begin(), entries.end());
    return true;
}

std::vector<int> ClassLibrary::releasesUpToThis()
{
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::vector<int> releases;
    if (release_ == 0)
        return releases;
    if (!ctSym_ && !ctSymTried_ && !jdkHome_.empty()) {
        ctSymTried_ = true;
        std::string error;
        ctSym_ = CtSym::open(jdkHome_ + "/lib/ct.sym", error);
    }
    if (ctSym_)
        for (const int r : ctSym_->releases())
            if (r < release_)
                releases.push_back(r);
    releases.push_back(release_);
    return releases;
}

ClassLibrary* ClassLibrary::releaseLibrary(int release)
{
    if (release == release_ && release_ != 0)
        return this;
    const std::vector<int> held = releasesUpToThis();
    if (!std::binary_search(held.begin(), held.end(), release))
        return nullptr;
    std::lock_guard<std::recursive_mutex> lock(mutex_);
    std::unique_ptr<ClassLibrary>& library = releaseLibraries_[release];
    if (!library) {
        std::vector<std::unique_ptr<ClassSource>> sources;
        sources.push_back(std::make_unique<CtSymSource>(ctSym_, release));
        library = std::make_unique<ClassLibrary>(std::move(sources), jdkHome_);
        library->release_ = release;
        library->ctSym_ = ctSym_;
        library->ctSymTried_ = true;
    }
    return library.get();
}

}  // namespace platform::classlib
