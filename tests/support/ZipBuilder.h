#pragma once
// Writes small zip files (jars, a ct.sym) for the tests, through libzip.

#include <zip.h>

#include <QDir>
#include <QFileInfo>
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace testing_classlib {

// Entries stored deflated unless `store`; encrypted with `password` when one is given.
inline bool makeJar(const QString& path, const std::map<std::string, std::vector<uint8_t>>& entries, bool store = false,
    const char* password = nullptr)
{
    int err = 0;
    QDir().mkpath(QFileInfo(path).absolutePath());
    zip_t* z = zip_open(path.toUtf8().constData(), ZIP_CREATE | ZIP_TRUNCATE, &err);
    if (!z)
        return false;
    for (const auto& [name, bytes] : entries) {
        const zip_int64_t i = zip_file_add(z, name.c_str(), zip_source_buffer(z, bytes.data(), bytes.size(), 0), 0);
        if (i < 0 || (store && zip_set_file_compression(z, zip_uint64_t(i), ZIP_CM_STORE, 0) != 0) ||
            (password && zip_file_set_encryption(z, zip_uint64_t(i), ZIP_EM_AES_256, password) != 0))
            return zip_discard(z), false;
    }
    return zip_close(z) == 0;
}

}  // namespace testing_classlib
