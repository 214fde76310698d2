#include "speaker/speech/traditional.h"

#include <opencc/opencc.h>

namespace speech {

namespace {
const opencc_t kFailed = reinterpret_cast<opencc_t>(-1);
}

// Owns one OpenCC converter.
struct Traditional::Handle {
    explicit Handle(opencc_t h) : h(h) {}
    ~Handle() { opencc_close(h); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    opencc_t h;
};

Traditional::Traditional(QString config) : config_(std::move(config)) {}

Traditional::~Traditional() = default;

bool Traditional::load() {
    if (tried_) return handle_ != nullptr;
    tried_ = true;
    const opencc_t h = opencc_open(config_.toUtf8().constData());
    if (h == kFailed || h == nullptr) {
        const char* why = opencc_error();
        error_ = QString::fromUtf8(why ? why : "OpenCC could not be loaded");
        return false;
    }
    handle_ = std::make_unique<Handle>(h);
    return true;
}

QString Traditional::convert(const QString& text) {
    if (text.isEmpty()) return text;
    // One converter, one caller at a time: OpenCC makes no promise for concurrent use.
    std::lock_guard lock(mutex_);
    if (!load()) return text;
    const QByteArray utf8 = text.toUtf8();
    const std::unique_ptr<char, decltype(&opencc_convert_utf8_free)> out(
        opencc_convert_utf8(handle_->h, utf8.constData(), size_t(utf8.size())),
        &opencc_convert_utf8_free);
    return out ? QString::fromUtf8(out.get()) : text;
}

bool Traditional::available() {
    std::lock_guard lock(mutex_);
    return load();
}

QString Traditional::errorText() {
    std::lock_guard lock(mutex_);
    load();
    return error_;
}

}  // namespace speech
