// The main window's background-music panel: built on the group "MP3背景音乐播放", whose mode and
// volume boxes it takes over.
#include "controls/groupbar.h"
#include "speaker/app/mainwindow.h"
#include "speaker/bells/backgroundmusic.h"
#include "speaker/bells/playbackchannel.h"
#include "speaker/core/preferences.h"
#include "speaker/core/services.h"
#include "speaker/speech/manualreading.h"

#include <QFormLayout>
#include <QSpinBox>
#include <QVBoxLayout>

namespace app {

void Tf_speaker::buildBackgroundMusic() {
    auto status = [this](int panel, const QString& text) { setStatusText(panel, text); };
    backgroundMusic_ = std::make_unique<bells::BackgroundMusic>(
        services_, *channel_, *library_, status,
        bells::BackgroundMusic::Boxes{ComBox1, bj_v, bj_v1}, RzGroup2->body());
    bells::BackgroundMusic* music = backgroundMusic_.get();
    if (reading_) {
        music->setReadBusy(&reading_->state().readbusy);
        // The reading goes first at exit; the fader must not look at its state after that.
        connect(reading_.get(), &QObject::destroyed, music,
                [music] { music->setReadBusy(nullptr); });
    }

    // The list and the transport above the mode; the volume boxes get their labels.
    QVBoxLayout* body = RzGroup2->bodyLayout();
    body->insertWidget(0, music->panel(), 1);
    body->removeWidget(bj_v);
    body->removeWidget(bj_v1);
    auto* volumes = new QFormLayout;
    volumes->addRow(QStringLiteral("音乐音量"), bj_v);
    volumes->addRow(QStringLiteral("朗读时音量"), bj_v1);
    body->addLayout(volumes);
    RzGroup2->body()->setEnabled(true);
}

void Tf_speaker::showBackgroundMusic() {
    backgroundMusic_->setFolder(
        core::Preferences(services_.iniPath()).readString(core::pref::Mp3bj));
    backgroundMusic_->setVolumes(defaultVolume, defaultVolume1);
}

}  // namespace app
