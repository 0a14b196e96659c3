#pragma once
// Replacing a file's content so that a failure at any point leaves the old
// file whole: the bytes go to a temporary file in the same folder, which is
// renamed over the target only after every byte is written and synced.

#include <QByteArray>
#include <QString>

namespace platform {

bool writeFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace platform
