#include "speaker/bells/channelbar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QToolButton>

namespace bells {
namespace {

QToolButton* toolButton(QWidget* parent, const char* name, const QString& hint,
                        QStyle::StandardPixmap icon, bool enabled) {
    auto* b = new QToolButton(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(hint);
    b->setIcon(parent->style()->standardIcon(icon));
    b->setEnabled(enabled);
    return b;
}

QSlider* slider(QWidget* parent, const char* name, const QString& hint) {
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(QString::fromLatin1(name));
    s->setToolTip(hint);
    return s;
}

}  // namespace

ChannelBar::ChannelBar(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ChannelBar"));
    mp3_player =
        toolButton(this, "mp3_player", QStringLiteral("播放"), QStyle::SP_MediaPlay, false);
    mp3_pause = toolButton(this, "mp3_pause", QString(), QStyle::SP_MediaPause, false);
    mp3_stop = toolButton(this, "mp3_stop", QStringLiteral("停止"), QStyle::SP_MediaStop, false);
    mp3_check = toolButton(this, "mp3_check", QStringLiteral("检查不能播放的音乐文件 "),
                           QStyle::SP_FileDialogContentsView, true);

    TrackBar4 = slider(this, "TrackBar4", QStringLiteral("播放音量"));
    TrackBar4->setRange(0, 100);
    TrackBar4->setValue(90);
    TrackBar4->setMaximumWidth(120);

    TrackBar3 = slider(this, "TrackBar3", QStringLiteral("播放进度"));
    TrackBar3->setRange(0, 10);
    TrackBar3->setValue(0);

    Label31 = new QLabel(QStringLiteral("   "), this);
    Label31->setObjectName(QStringLiteral("Label31"));
    Label31->setVisible(false);

    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : {static_cast<QWidget*>(mp3_player), static_cast<QWidget*>(mp3_pause),
                       static_cast<QWidget*>(mp3_stop), static_cast<QWidget*>(mp3_check)})
        row->addWidget(w);
    row->addWidget(new QLabel(QStringLiteral("音量"), this));
    row->addWidget(TrackBar4);
    row->addWidget(TrackBar3, 1);
    row->addWidget(Label31);
}

}  // namespace bells
