#pragma once
// Reading a plain-text file for a broadcast text: UTF-8 (with or without a byte-order mark),
// UTF-16 with a byte-order mark, or GBK as older installations wrote it.

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace plans {

// The text of `bytes`, line ends made "\n".
QString decodeText(QByteArrayView bytes);

// The decoded text of the file; nullopt when it cannot be read.
std::optional<QString> readTextFile(const QString& path);

}  // namespace plans
