#pragma once
// Simplified to traditional Chinese through OpenCC's s2t configuration. The configuration is
// loaded on first use, once; converting is safe from any thread. Its owner shares one object
// with every reader.

#include <QString>

#include <memory>
#include <mutex>

namespace speech {

class Traditional {
public:
    // `config`: an OpenCC configuration name or path.
    explicit Traditional(QString config = QStringLiteral("s2t.json"));
    ~Traditional();
    Traditional(const Traditional&) = delete;
    Traditional& operator=(const Traditional&) = delete;

    // The text in traditional characters; the text unchanged when OpenCC cannot be loaded.
    QString convert(const QString& text);
    // False once loading has failed; errorText() says why.
    bool available();
    QString errorText();

private:
    struct Handle;
    bool load();  // with mutex_ held

    QString config_;
    std::mutex mutex_;
    bool tried_ = false;
    std::unique_ptr<Handle> handle_;
    QString error_;
};

}  // namespace speech
