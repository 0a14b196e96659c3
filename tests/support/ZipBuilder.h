#pragma once
// Writes small zip files (jars, a ct.sym) for the tests, through the tests'
// own zip writer.

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/support/Files.h"
#include "tests/support/ZipWriter.h"

namespace testing_classlib {

// Entries stored deflated unless `store`; with a `password` each entry is
// marked encrypted, so that no reader may hand its bytes out.
inline bool makeJar(const QString& path, const std::map<std::string, std::vector<uint8_t>>& entries, bool store = false,
    const char* password = nullptr)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::vector<test_support::ZipEntry> zipEntries;
    for (const auto& [name, bytes] : entries)
        zipEntries.push_back({QByteArray::fromStdString(name),
            QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size())), !store,
            quint16(password ? 1 : 0)});
    return test_support::writeFile(path, test_support::buildZip(zipEntries).bytes);
}

}  // namespace testing_classlib
