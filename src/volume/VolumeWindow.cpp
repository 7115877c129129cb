#include "volume/VolumeWindow.h"

#include <QLabel>
#include <QSlider>

#include "app/Accessibility.h"
#include "app/Twips.h"
#include "core/Jukebox.h"
#include "common/Numbers.h"
#include "settings/Settings.h"
#include "volume/SliderClicks.h"

namespace melvo {

VolumeWindow::VolumeWindow(QWidget* owner, Jukebox& jukebox)
    : QWidget(owner, Qt::Window), jukebox_(jukebox) {
    setObjectName(QStringLiteral("volumeWindow"));
    setWindowTitle("音量初期値設定");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(4680), twipsToPixels(3195));
    volumeCaptionLabel = new QLabel("ボリューム調整", this);
    volumeCaptionLabel->setObjectName(QStringLiteral("volumeCaptionLabel"));
    placeInTwips(volumeCaptionLabel, 855, 450, 1590, 285);
    initialVolumeSlider = new QSlider(Qt::Horizontal, this);
    initialVolumeSlider->setObjectName(QStringLiteral("initialVolumeSlider"));
    initialVolumeSlider->setRange(0, 10);
    initialVolumeSlider->setTickPosition(QSlider::TicksBelow);
    placeInTwips(initialVolumeSlider, 675, 855, 3210, 420);
    SliderClicks::watch(initialVolumeSlider, [this] { onInitialVolumeSliderClicked(); });
    nameForScreenReaders(this);
}

void VolumeWindow::onInitialVolumeSliderClicked() {
    jukebox_.setInitialVolume(initialVolumeSlider->value());
}

}  // namespace melvo
