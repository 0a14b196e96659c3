// Class.getMethods() as the JDK 9+ JVM computes it, and the methods the
// Flight Recorder adds to its event classes.

#include <functional>
#include <unordered_map>

#include "platform/classlib/LoadedClass.h"

namespace platform::classlib {

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

void collectSupertypes(LoadedClass& cls)
{
    cls.supertypes.assign(1, &cls);
    if (cls.superclass)
        cls.supertypes.insert(
            cls.supertypes.end(), cls.superclass->supertypes.begin(), cls.superclass->supertypes.end());
    for (const auto& intf : cls.interfaces)
        cls.supertypes.insert(cls.supertypes.end(), intf->supertypes.begin(), intf->supertypes.end());
    std::sort(cls.supertypes.begin(), cls.supertypes.end());
    cls.supertypes.erase(std::unique(cls.supertypes.begin(), cls.supertypes.end()), cls.supertypes.end());
}

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

}  // namespace platform::classlib
