// The volume window: one slider that sets the initial volume of songs
// without a volume of their own.
#pragma once

#include <QWidget>

class QLabel;
class QSlider;

namespace melvo {

class VolumeWindow : public QWidget {
    Q_OBJECT

  public:
    explicit VolumeWindow(QWidget* parent);

    QLabel* Label1;
    QSlider* Slider1;
};

}  // namespace melvo
