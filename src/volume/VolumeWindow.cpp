#include "volume/VolumeWindow.h"

#include <QLabel>
#include <QSlider>

#include "app/MainWindow.h"

namespace melvo {

VolumeWindow::VolumeWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("vol_set"));
    setWindowTitle("音量初期値設定");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(twipsToPixels(4680), twipsToPixels(3195));
    Label1 = new QLabel("ボリューム調整", this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(twipsToPixels(855), twipsToPixels(450), twipsToPixels(1590),
                        twipsToPixels(285));
    Slider1 = new QSlider(Qt::Horizontal, this);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(0, 10);
    Slider1->setTickPosition(QSlider::TicksBelow);
    Slider1->setGeometry(twipsToPixels(675), twipsToPixels(855), twipsToPixels(3210),
                         twipsToPixels(420));
}

}  // namespace melvo
