#pragma once
// Resolved project classpaths kept between runs, one file per project folder
// under the cache folder, so that a second start does not run the build tool.

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace project {

// $XDG_CACHE_HOME/javaorvel, else ~/.cache/javaorvel.
QString defaultCacheDir();

class ClasspathCache {
public:
    explicit ClasspathCache(QString dir) : dir_(std::move(dir)) { }

    // The entries stored for the project under this key; nothing when there
    // are none, the key differs, or the file is damaged or of another format.
    std::optional<std::vector<std::string>> load(const QString& projectDir, const QByteArray& key) const;

    // Replaces the project's file whole; false when it cannot be written.
    bool store(const QString& projectDir, const QByteArray& key, const std::vector<std::string>& entries) const;

    // The file that holds a project's entries.
    QString fileFor(const QString& projectDir) const;

private:
    QString dir_;
};

}  // namespace project
