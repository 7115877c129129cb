#include "volume/VolumeWindow.h"

#include <QLabel>
#include <QSlider>

#include "app/Accessibility.h"
#include "app/MainWindow.h"
#include "common/Numbers.h"
#include "settings/Settings.h"
#include "volume/SliderClicks.h"

namespace melvo {

VolumeWindow::VolumeWindow(MainWindow* owner) : QWidget(owner, Qt::Window), owner_(owner) {
    setObjectName(QStringLiteral("vol_set"));
    setWindowTitle("音量初期値設定");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(4680), twipsToPixels(3195));
    Label1 = new QLabel("ボリューム調整", this);
    Label1->setObjectName(QStringLiteral("Label1"));
    placeInTwips(Label1, 855, 450, 1590, 285);
    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(0, 10);
    Slider1->setTickPosition(QSlider::TicksBelow);
    placeInTwips(Slider1, 675, 855, 3210, 420);
    SliderClicks::watch(Slider1, [this] { Slider1_Click(); });
    nameForScreenReaders(this);
}

void VolumeWindow::Slider1_Click() {
    owner_->defaultVolumeSetting = blankLedNumber(Slider1->value());
    WriteSetting(owner_->defaultVolumeSetting, "vol", kSettingsSection, owner_->settingsPath());
}

}  // namespace melvo
