#include "app/VersionWindow.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/Accessibility.h"
#include "app/MainWindow.h"

namespace melvo {

namespace {

QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption, QRect twips) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(QLatin1String(name));
    placeInTwips(frame, twips.x(), twips.y(), twips.width(), twips.height());
    return frame;
}

QLabel* makeLabel(QWidget* frame, const char* name, const QString& caption, QRect twips) {
    auto* label = new QLabel(caption, frame);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    placeInTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}

// Fonts with tall lines (the Japanese desktop fonts here) need more room for
// the wrapped disclaimer than its designed place offers: its letters are made
// smaller, not its place larger, down to a size that still reads.
void fitWrappedText(QLabel* label) {
    QFont font = label->font();
    while (label->heightForWidth(label->width()) > label->height() && font.pointSizeF() > 6.5) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        label->setFont(font);
    }
}

}  // namespace

VersionWindow::VersionWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FORMVERSION"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("バージョン"));
    setFixedSize(twipsToPixels(5880), twipsToPixels(4950));

    Frame1 = makeFrame(this, "Frame1", QStringLiteral("プログラム名称"), {495, 225, 4110, 1050});
    Label1 = makeLabel(Frame1, "Label1", QStringLiteral("音楽演奏プログラム　　ＭＥＬＶＯ"),
                       {315, 360, 3480, 375});
    Frame2 =
        makeFrame(this, "Frame2", QStringLiteral("プログラムバージョン"), {495, 1575, 4110, 1095});
    Label2 =
        makeLabel(Frame2, "Label2", QStringLiteral("バージョン　V1.05"), {180, 405, 3705, 420});
    Frame3 = makeFrame(this, "Frame3", QStringLiteral("免責事項"), {495, 2880, 4110, 1365});
    Label3 = makeLabel(Frame3, "Label3",
                       QStringLiteral("免責：このプログラムの使用により発生したいかなる問題や損害"
                                      "に対して、当方は一切責任を負いません。利用者の責任において"
                                      "ご利用願います。"),
                       {180, 360, 3750, 735});
    Label3->setWordWrap(true);
    Label3->setAutoFillBackground(true);
    QPalette colours = Label3->palette();
    colours.setColor(QPalette::WindowText, QColor(255, 0, 0));
    colours.setColor(QPalette::Window, QColor(255, 255, 128));
    Label3->setPalette(colours);
    fitWrappedText(Label3);

    Command1 = new QPushButton(QStringLiteral("閉じる"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    placeInTwips(Command1, 4950, 4050, 825, 465);
    connect(Command1, &QPushButton::clicked, this, &VersionWindow::Command1_Click);

    // Tab order as designed: the three frames, the button, then the labels.
    const QList<QWidget*> tabOrder{Frame1, Frame2, Frame3, Command1, Label1, Label2, Label3};
    for (qsizetype i = 1; i < tabOrder.size(); ++i) setTabOrder(tabOrder[i - 1], tabOrder[i]);
    Command1->setFocus();

    nameForScreenReaders(this);
}

void VersionWindow::Command1_Click() { close(); }

}  // namespace melvo
