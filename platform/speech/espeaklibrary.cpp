#include "platform/speech/espeaklibrary.h"

#include <espeak-ng/espeak_ng.h>

namespace platform::speech_detail {

namespace {

// Sound is handed over in chunks of this length: short enough that a purge stops within a
// few milliseconds of synthesis, long enough that the callback costs nothing.
constexpr int kChunkMs = 100;

struct CallContext {
    const EspeakLibrary::Chunk* chunk = nullptr;
    bool stopped = false;
};

int synthCallback(short* wav, int count, espeak_EVENT* events) {
    auto* ctx = events ? static_cast<CallContext*>(events->user_data) : nullptr;
    if (!ctx || ctx->stopped) return 1;
    const bool goOn = (*ctx->chunk)(reinterpret_cast<const int16_t*>(wav),
                                    wav && count > 0 ? static_cast<size_t>(count) : 0, events);
    if (!goOn) ctx->stopped = true;
    return goOn ? 0 : 1;
}

QString statusText(espeak_ng_STATUS status) {
    char buf[256] = {};
    espeak_ng_GetStatusCodeMessage(status, buf, sizeof buf);
    return QString::fromLocal8Bit(buf);
}

}  // namespace

EspeakLibrary& EspeakLibrary::instance() {
    // espeak-ng itself is one state per process; this object is its only door.
    static EspeakLibrary library;
    return library;
}

EspeakLibrary::EspeakLibrary() {
    espeak_ng_InitializePath(nullptr);  // the data of the installed package
    espeak_ng_ERROR_CONTEXT context = nullptr;
    espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    if (status == ENS_OK)
        status = espeak_ng_InitializeOutput(ENOUTPUT_MODE_SYNCHRONOUS, kChunkMs, nullptr);
    espeak_ng_ClearErrorContext(&context);
    if (status != ENS_OK) {
        error_ = statusText(status);
        return;
    }
    espeak_SetSynthCallback(synthCallback);
    ok_ = espeak_ng_GetSampleRate() == 22050;
    if (!ok_) error_ = QStringLiteral("unexpected sample rate %1").arg(espeak_ng_GetSampleRate());
}

EspeakLibrary::~EspeakLibrary() {
    std::lock_guard lk(mutex_);
    if (ok_) espeak_ng_Terminate();
}

std::vector<EspeakVoice> EspeakLibrary::listVoices() {
    std::lock_guard lk(mutex_);
    std::vector<EspeakVoice> list;
    if (!ok_) return list;
    const espeak_VOICE** voices = espeak_ListVoices(nullptr);
    for (auto** v = voices; v && *v; ++v) {
        EspeakVoice e;
        e.name = (*v)->name ? (*v)->name : "";
        e.identifier = (*v)->identifier ? (*v)->identifier : "";
        // languages: a priority byte, then the language text, repeated; the first is the main.
        if ((*v)->languages && (*v)->languages[0]) e.language = (*v)->languages + 1;
        e.gender = (*v)->gender;
        if (!e.identifier.empty()) list.push_back(std::move(e));
    }
    return list;
}

bool EspeakLibrary::loadVoice(const std::string& voiceId) {
    if (voiceId == loadedVoice_) return true;
    loadedVoice_.clear();
    if (espeak_ng_SetVoiceByName(voiceId.c_str()) != ENS_OK) return false;
    loadedVoice_ = voiceId;
    return true;
}

EspeakLibrary::Result EspeakLibrary::synthesize(const std::string& voiceId, int wpm,
                                                const QByteArray& text, const Chunk& chunk) {
    std::lock_guard lk(mutex_);
    if (!ok_ || !loadVoice(voiceId)) return Result::Failed;
    espeak_ng_SetParameter(espeakRATE, wpm, 0);
    CallContext ctx{&chunk, false};
    unsigned int uid = 0;
    // The size includes the terminating NUL, which QByteArray guarantees.
    const espeak_ng_STATUS status =
        espeak_ng_Synthesize(text.constData(), static_cast<size_t>(text.size()) + 1, 0,
                             POS_CHARACTER, 0, espeakCHARS_UTF8, &uid, &ctx);
    if (ctx.stopped) {
        espeak_ng_Cancel();  // leaves no half-spoken state for the next text
        return Result::Stopped;
    }
    return status == ENS_OK ? Result::Completed : Result::Failed;
}

std::string EspeakLibrary::phonemes(const std::string& voiceId, const QByteArray& text) {
    std::lock_guard lk(mutex_);
    if (!ok_ || !loadVoice(voiceId)) return {};
    const void* p = text.constData();
    const char* ph = espeak_TextToPhonemes(&p, espeakCHARS_UTF8, 0);
    return ph ? ph : "";
}

}  // namespace platform::speech_detail
