#include "speaker/speech/voicepanel.h"

#include "platform/speech/speechengine.h"

#include <QComboBox>
#include <QLabel>
#include <QSlider>

namespace speech {

VoicePanel::VoicePanel(platform::SpeechEngine* engine, const Widgets& widgets, QObject* parent)
    : QObject(parent), engine_(engine), w_(widgets) {}

void VoicePanel::fill(int storedIndex) {
    VoiceList list = engine_ ? voicelist(engine_->voices()) : VoiceList{};
    const int count = int(list.descriptions.size());
    const int index = count == 0 ? -1 : (storedIndex >= 0 && storedIndex < count ? storedIndex : 0);
    {
        std::lock_guard lock(mutex_);
        list_ = list;
        current_ = index;
    }
    w_.chooser->clear();
    w_.chooser->addItems(list.displayNames);
    w_.chooser->setCurrentIndex(index);
    // The engine speaks with the voice the chooser shows from the start.
    if (engine_ && index >= 0) engine_->selectVoice(index);
    w_.chooser->setEnabled(true);
    w_.volume->setEnabled(true);
    w_.rate->setEnabled(true);

    connect(w_.rate, &QSlider::valueChanged, this, &VoicePanel::rateChanged, Qt::UniqueConnection);
    connect(w_.volume, &QSlider::valueChanged, this, &VoicePanel::volumeChanged,
            Qt::UniqueConnection);
    // Both positions reach the engine now, so the bars never show what the engine is not
    // doing (the volume too when it is at the bar's initial 95).
    if (engine_) {
        engine_->setRate(w_.rate->value());
        engine_->setVolume(w_.volume->value());
    }
    if (w_.rateNumber) w_.rateNumber->setNum(w_.rate->value());
    if (w_.volumeNumber) w_.volumeNumber->setNum(w_.volume->value());
}

bool VoicePanel::selectvoice(int index) {
    {
        std::lock_guard lock(mutex_);
        if (index < 0 || index >= list_.descriptions.size()) return false;
        current_ = index;
    }
    if (engine_) engine_->selectVoice(index);
    return true;
}

int VoicePanel::chosenIndex() const {
    return w_.chooser->currentIndex();
}

QString VoicePanel::currentVoiceName() const {
    std::lock_guard lock(mutex_);
    return current_ >= 0 ? list_.descriptions[current_] : QString();
}

int VoicePanel::findVoice(const QString& description) const {
    std::lock_guard lock(mutex_);
    return list_.find(description);
}

VoiceList VoicePanel::voices() const {
    std::lock_guard lock(mutex_);
    return list_;
}

void VoicePanel::rateChanged(int value) {
    if (engine_) engine_->setRate(value);
    if (w_.rateNumber) w_.rateNumber->setNum(value);
    if (afterChange_) afterChange_();
}

void VoicePanel::volumeChanged(int value) {
    if (engine_) engine_->setVolume(value);
    if (w_.volumeNumber) w_.volumeNumber->setNum(value);
    if (afterChange_) afterChange_();
}

}  // namespace speech
