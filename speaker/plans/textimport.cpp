#include "speaker/plans/textimport.h"

#include "common/textcodec.h"

#include <QFile>
#include <QStringDecoder>

namespace plans {

QString decodeText(QByteArrayView bytes) {
    QString text;
    const bool utf16le = bytes.startsWith("\xFF\xFE");
    const bool utf16be = bytes.startsWith("\xFE\xFF");
    if (utf16le || utf16be) {
        QStringDecoder decoder(utf16le ? QStringConverter::Utf16LE : QStringConverter::Utf16BE);
        text = decoder(bytes.sliced(2));
    } else if (common::isUtf8(bytes)) {
        if (bytes.startsWith("\xEF\xBB\xBF")) bytes = bytes.sliced(3);
        text = QString::fromUtf8(bytes);
    } else {
        text = QString::fromUtf8(common::gbkToUtf8(bytes));
    }
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

std::optional<QString> readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return decodeText(bytes);
}

}  // namespace plans
