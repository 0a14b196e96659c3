#pragma once
// A class as the JVM links it: its class file read, its supertypes resolved,
// and its public methods merged on first use.

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/classlib/ClassFile.h"
#include "platform/classlib/MemberPrinter.h"

namespace platform::classlib {

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

    // Each public method (in publicMethods' order) and constructor (in the
    // class file's order) as a value without its printed form, which depends
    // on the naming asked for. Made on the class's first lookup and shared by
    // every later one: a SEARCH copies them rather than building hundreds of
    // names again.
    struct MemberValueLists {
        std::vector<platform::Member> methods;
        std::vector<platform::Member> constructors;
    };
    const MemberValueLists& memberValues() const
    {
        std::call_once(valuesOnce_, [this] { values_ = computeMemberValues(); });
        return values_;
    }

private:
    std::vector<MethodRef> computePublicMethods() const;
    MemberValueLists computeMemberValues() const;

    mutable std::once_flag methodsOnce_;
    mutable std::vector<MethodRef> methods_;
    mutable std::once_flag valuesOnce_;
    mutable MemberValueLists values_;
};

// Fills cls.supertypes from the class itself, its superclass and its
// interfaces, which must be linked already.
void collectSupertypes(LoadedClass& cls);

// The JVM's Flight Recorder instruments its event classes as it loads them;
// reflection then lists the methods it added. Called once a class is linked.
void addFlightRecorderMethods(LoadedClass& cls);

}  // namespace platform::classlib
