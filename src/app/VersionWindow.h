// The version window: the program's name, its version and the disclaimer.
#pragma once

#include <QWidget>

class QGroupBox;
class QLabel;
class QPushButton;

namespace melvo {

class VersionWindow : public QWidget {
    Q_OBJECT

  public:
    // A window of its own over parent, discarded when it closes.
    explicit VersionWindow(QWidget* parent);

    void Command1_Click();

    QGroupBox* Frame1;
    QLabel* Label1;
    QGroupBox* Frame2;
    QLabel* Label2;
    QGroupBox* Frame3;
    QLabel* Label3;
    QPushButton* Command1;
};

}  // namespace melvo
