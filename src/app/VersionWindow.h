// The version window: the program's name, its version and the disclaimer.
#pragma once

#include <QDialog>

class QGroupBox;
class QLabel;
class QPushButton;

namespace melvo {

class VersionWindow : public QDialog {
    Q_OBJECT

  public:
    // A non-modal window over parent, discarded when it closes.
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
