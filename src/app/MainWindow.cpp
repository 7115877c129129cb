#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

#include "app/Accessibility.h"
#include "app/AppIcon.h"
#include "settings/Settings.h"

namespace melvo {

int twipsToPixels(int twips) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return qRound(twips / 15.0 * dpi / 96.0);
}

void placeInTwips(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                        twipsToPixels(height));
}

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                        const QString& toolTip, QRect twips) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(toolTip);
    button->setAutoFillBackground(true);
    placeInTwips(button, twips.x(), twips.y(), twips.width(), twips.height());
    return button;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& caption, const QString& toolTip,
                  QRect twips) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QLatin1String(name));
    label->setToolTip(toolTip);
    placeInTwips(label, twips.x(), twips.y(), twips.width(), twips.height());
    return label;
}

QCheckBox* makeCheckBox(QWidget* parent, const char* name, const QString& caption,
                        const QString& toolTip, QRect twips) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setToolTip(toolTip);
    placeInTwips(box, twips.x(), twips.y(), twips.width(), twips.height());
    return box;
}

QTimer* makeTimer(QObject* parent, const char* name, int interval) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(interval);
    return timer;
}

QAction* makeAction(QMenu* menu, const char* name, const QString& caption, bool checkable) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    action->setCheckable(checkable);
    return action;
}

}  // namespace

MainWindow::MainWindow(const QString& dataFolder, Services services, QWidget* parent)
    : QMainWindow(parent), services(services), dataFolder_(dataFolder) {
    setObjectName(QStringLiteral("melvoMain"));
    setWindowTitle(QStringLiteral("Melvo v1.04"));
    setWindowIcon(appIcon());
    // The exit steps have saved everything: the program ends at once, also
    // from inside a message box or start-up, and no further event runs.
    endProgram = [] {
        std::fflush(nullptr);
        std::_Exit(EXIT_SUCCESS);
    };
    buildControls();
    buildMenus();
    setUpSongList();
    connectHandlers();
    nameMainWindowForScreenReaders(*this);
    // Design-time states: Timer2 and Timer3 run from the start, Timer1 waits for a song.
    Timer2->start();
    Timer3->start();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(twipsToPixels(8130), twipsToPixels(5925));
    setCentralWidget(client);

    Check1 = makeCheckBox(client, "Check1", "ランダム演奏", QString(), {4275, 1125, 1410, 195});
    Command7 = makeButton(client, "Command7", "歌詞の表示", QString(), {4455, 1395, 1095, 375});
    Slider1 = new QSlider(Qt::Horizontal, client);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setToolTip("音量調整をします");
    Slider1->setRange(0, 10);
    Slider1->setTickPosition(QSlider::TicksBelow);
    placeInTwips(Slider1, 5850, 1890, 2040, 285);
    Timer3 = makeTimer(this, "Timer3", 1000);
    Command6 = makeButton(client, "Command6", "前の曲", "前の曲を演奏", {4455, 1845, 1095, 375});
    Command5 = makeButton(client, "Command5", "次の曲", "次の曲を演奏", {3060, 1845, 1185, 375});
    Command4 = makeButton(client, "Command4", "自動演奏",
                          "エントリーされた曲を先頭から順に自動演奏", {90, 1845, 1230, 375});
    Timer2 = makeTimer(this, "Timer2", 1000);
    ListView1 = new QTreeView(client);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setToolTip("エントリーされた曲の一覧");
    placeInTwips(ListView1, 0, 2295, 8070, 2850);
    Command3 =
        makeButton(client, "Command3", "終了", "演奏を停止し終了します。", {6885, 5265, 915, 375});
    Command2 = makeButton(client, "Command2", "曲の削除", "登録されている局の削除",
                          {1305, 5265, 825, 375});
    Command1 =
        makeButton(client, "Command1", "曲の追加", "ＭＰ３形式の曲の追加", {180, 5265, 825, 375});
    cmdResume = makeButton(client, "cmdResume", "続行", "演奏の再開", {3060, 1395, 1170, 375});
    chkRepeat = makeCheckBox(client, "chkRepeat", "繰り返し再生",
                             "現在の曲を繰り返し演奏する場合にチェック", {5760, 1125, 1455, 210});
    cmdStop = makeButton(client, "cmdStop", "停止", "演奏の停止", {1575, 1845, 1215, 375});
    cmdPause =
        makeButton(client, "cmdPause", "一時停止", "演奏の一時停止", {1575, 1395, 1215, 375});
    Timer1 = makeTimer(this, "Timer1", 100);
    cmdPlay =
        makeButton(client, "cmdPlay", "再生", "一覧から選択された曲を演奏", {90, 1395, 1215, 375});
    HScroll1 = new QScrollBar(Qt::Horizontal, client);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    HScroll1->setRange(0, 0);
    placeInTwips(HScroll1, 120, 840, 7335, 255);
    Label3 = makeLabel(client, "Label3", "ボリューム調整", QString(), {6165, 1710, 1545, 195});
    Label2 = makeLabel(client, "Label2", QString(), "演奏中の曲の表示", {225, 360, 7305, 420});
    QFont bold = Label2->font();
    bold.setPointSize(9);
    bold.setBold(true);
    Label2->setFont(bold);
    Label1 = makeLabel(client, "Label1", "演奏中の曲名 ", QString(), {240, 120, 6255, 255});
    lblSoundStatus =
        makeLabel(client, "lblSoundStatus", QString(), "演奏の状況表示", {135, 1125, 1575, 255});
    lblPosition =
        makeLabel(client, "lblPosition", QString(), "演奏経過時間", {5760, 1440, 855, 255});
    lblLength = makeLabel(client, "lblLength", QString(), "演奏時間", {6720, 1440, 855, 255});
}

void MainWindow::buildMenus() {
    QMenu* settings = menuBar()->addMenu("設定");
    settings->setObjectName(QStringLiteral("f1_menu_set"));
    QMenu* autoSetting = settings->addMenu("自動演奏設定");
    autoSetting->setObjectName(QStringLiteral("f1_menu_auto_set"));
    f1_menu_manual = makeAction(autoSetting, "f1_menu_manual", "マニュアル演奏", true);
    f1_menu_auto_on = makeAction(autoSetting, "f1_menu_auto_on", "自動演奏", true);
    menu_sound_set = makeAction(settings, "menu_sound_set", "音量初期値設定", false);
    QMenu* lyrics = settings->addMenu("歌詞表示 ");
    lyrics->setObjectName(QStringLiteral("menu_kasi"));
    menu_kasi_dsp = makeAction(lyrics, "menu_kasi_dsp", "表示する", true);
    menu_kasi_nondsp = makeAction(lyrics, "menu_kasi_nondsp", "表示しない", true);

    QMenu* help = menuBar()->addMenu("ヘルプ(&H)");
    help->setObjectName(QStringLiteral("MENU_HELP"));
    MENU_HELP_SOUSA = makeAction(help, "MENU_HELP_SOUSA", "操作説明", false);
    MENU_HELP_HPMEPAGE = makeAction(help, "MENU_HELP_HPMEPAGE", "ＰＩＸＯＲのホームページ", false);
    help->addSeparator()->setObjectName(QStringLiteral("MENU_LINE1"));
    MENU_HELP_VER = makeAction(help, "MENU_HELP_VER", "バージョン", false);

    menu_kasi_touroku = menuBar()->addAction("歌詞登録");
    menu_kasi_touroku->setObjectName(QStringLiteral("menu_kasi_touroku"));
}

void MainWindow::connectHandlers() {
    const auto onClick = [this](QPushButton* button, void (MainWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    onClick(cmdPlay, &MainWindow::cmdPlay_Click);
    onClick(cmdPause, &MainWindow::cmdPause_Click);
    onClick(cmdResume, &MainWindow::cmdResume_Click);
    onClick(cmdStop, &MainWindow::cmdStop_Click);
    onClick(Command1, &MainWindow::Command1_Click);
    onClick(Command2, &MainWindow::Command2_Click);
    onClick(Command3, &MainWindow::Command3_Click);
    onClick(Command4, &MainWindow::Command4_Click);
    onClick(Command5, &MainWindow::Command5_Click);
    onClick(Command6, &MainWindow::Command6_Click);
    onClick(Command7, &MainWindow::Command7_Click);

    const auto onTrigger = [this](QAction* action, void (MainWindow::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };
    onTrigger(f1_menu_manual, &MainWindow::f1_menu_manual_Click);
    onTrigger(f1_menu_auto_on, &MainWindow::f1_menu_auto_on_Click);
    onTrigger(menu_sound_set, &MainWindow::menu_sound_set_Click);
    onTrigger(menu_kasi_dsp, &MainWindow::menu_kasi_dsp_Click);
    onTrigger(menu_kasi_nondsp, &MainWindow::menu_kasi_nondsp_Click);
    onTrigger(MENU_HELP_SOUSA, &MainWindow::MENU_HELP_SOUSA_Click);
    onTrigger(MENU_HELP_HPMEPAGE, &MainWindow::MENU_HELP_HPMEPAGE_Click);
    onTrigger(MENU_HELP_VER, &MainWindow::MENU_HELP_VER_Click);
    onTrigger(menu_kasi_touroku, &MainWindow::menu_kasi_touroku_Click);

    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1_Timer);
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2_Timer);
    connect(Timer3, &QTimer::timeout, this, &MainWindow::Timer3_Timer);
    connect(HScroll1, &QScrollBar::valueChanged, this, &MainWindow::HScroll1_Change);
}

std::string MainWindow::settingsPath() const {
    return (dataFolder_ + "/" + kSettingsFileName).toStdString();
}

std::string MainWindow::songListPath() const { return (dataFolder_ + "/mvMP3.csv").toStdString(); }

}  // namespace melvo
