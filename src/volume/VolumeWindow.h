// The volume window: one slider that sets the initial volume of songs
// without a volume of their own.
#pragma once

#include <QWidget>

class QLabel;
class QSlider;

namespace melvo {

class MainWindow;

class VolumeWindow : public QWidget {
    Q_OBJECT

  public:
    explicit VolumeWindow(MainWindow* owner);

    // Stores the slider's value as the initial volume, in memory and in the
    // settings file. The master volume and the main slider stay as they are.
    void onInitialVolumeSliderClicked();

    QLabel* volumeCaptionLabel;
    QSlider* initialVolumeSlider;

  private:
    MainWindow* owner_;
};

}  // namespace melvo
