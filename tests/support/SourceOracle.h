#pragma once
// The HTML extract as the oracle of the source fallback: a fixed, seeded
// sample of public classes of java.base and java.desktop, every tree leaf,
// documented both ways. Shared by the test (a small sample) and the benchmark.

#include <QDir>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>
#include <functional>
#include <random>
#include <vector>

#include "javadoc/Extractor.h"
#include "javadoc/SelectionArgs.h"
#include "javadoc/source/SourceDocs.h"
#include "lookup/ClassLookup.h"
#include "lookup/MemberTree.h"
#include "platform/classlib/ClassLibrary.h"

namespace source_oracle {

inline const QString kApi = QStringLiteral("/usr/share/doc/openjdk-17-jre-headless/api");

// Public top-level classes that have a page, by module, in element-list order.
inline QStringList publicClassNames(const QString& module, const QString& api = kApi)
{
    QStringList names;
    QFile list(api + "/element-list");
    if (!list.open(QIODevice::ReadOnly))
        return names;
    QString current;
    for (const QByteArray& raw : list.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith("module:")) {
            current = line.mid(7);
        } else if (current == module && !line.isEmpty()) {
            static const QRegularExpression notAClass("[-.]");  // package-summary, doc-files, nested pages
            const QDir folder(api + "/" + module + "/" + QString(line).replace('.', '/'));
            for (const QString& file : folder.entryList({"*.html"}, QDir::Files, QDir::Name))
                if (!file.chopped(5).contains(notAClass))
                    names << line + "." + file.chopped(5);
        }
    }
    return names;
}

inline QString firstLine(const QString& text)
{
    return text.section('\n', 0, 0).simplified();
}

// Whether a first line names the member: "name(" or, for an annotation
// interface's element, the name at the end of the line.
inline bool namesMember(const QString& text, const QString& memberName)
{
    const QString name = memberName.section('.', -1).section('$', -1);
    const QString first = firstLine(text);
    return first.contains(name + "(") || first.endsWith(" " + name);
}

// Shared words over all words of both texts.
inline double similarity(const QString& a, const QString& b)
{
    static const QRegularExpression split("[^\\w]+");
    const auto words = [](const QString& text) {
        const QStringList list = text.split(split, Qt::SkipEmptyParts);
        return QSet<QString>(list.begin(), list.end());
    };
    const QSet<QString> wa = words(a), wb = words(b), all = wa + wb;
    return all.isEmpty() ? 1.0 : double((wa & wb).size()) / double(all.size());
}

struct Leaf {
    javadoc::SelectionArgs args;
    QString leafText;
    QString html;             // the page's extract ("" when none)
    QString source;           // the fallback's
    bool overloaded = false;  // another leaf of the group has the same name and comma count:
                              // the page reader takes the first of them, right or not
};

// Walks `classes` classes of the seeded sample, leaf by leaf.
inline int walkSample(int classes, const std::function<void(const Leaf&)>& visit)
{
    QStringList pool = publicClassNames("java.base") + publicClassNames("java.desktop");
    std::mt19937 rng(20240607);
    std::shuffle(pool.begin(), pool.end(), rng);
    javadoc::source::SourceDocs docs(platform::classlib::ClassLibrary::system());
    int done = 0;
    for (const QString& docName : pool) {
        if (done >= classes)
            break;
        const QString name = docName.startsWith("javax.") ? "com.sun.java." + docName.mid(6) : docName;
        const lookup::LookupResult found = lookup::lookUpClass(platform::classlib::ClassLibrary::system(), name);
        if (found.status != lookup::LookupResult::Status::Found)
            continue;
        ++done;
        QStringList groups;
        const lookup::MemberNode root = lookup::buildMemberTree(found.n, QString(), name, groups);
        for (const lookup::MemberNode& group : root.children) {
            std::vector<Leaf> leaves;
            QMap<QPair<QString, int>, int> sameKey;
            for (const lookup::MemberNode& leaf : group.children) {
                Leaf& l = leaves.emplace_back();
                l.args = *javadoc::deriveSelection({root.text, group.text, leaf.text});
                l.leafText = leaf.text.trimmed();
                ++sameKey[{l.args.memberName, l.args.commaCount}];
            }
            for (Leaf& l : leaves) {
                l.overloaded = sameKey.value({l.args.memberName, l.args.commaCount}) > 1;
                l.html = javadoc::doit({.memberName = l.args.memberName,
                                           .commaCount = l.args.commaCount,
                                           .groupName = l.args.groupName,
                                           .nameText = name,
                                           .name2 = name,
                                           .docpath = kApi + "/java.base",
                                           .docpath2 = kApi + "/java.desktop"})
                             .text;
                l.source = docs.document({l.args.memberName, l.args.commaCount, l.args.groupName, name, l.leafText});
                visit(l);
            }
        }
    }
    return done;
}

}  // namespace source_oracle
