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
#include "app/ReadOut.h"
#include "playback/PositionBar.h"
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

ReadOut* makeReadOut(QWidget* parent, const char* name, const QString& toolTip, QRect twips) {
    auto* readOut = new ReadOut(parent);
    readOut->setObjectName(QLatin1String(name));
    readOut->setToolTip(toolTip);
    placeInTwips(readOut, twips.x(), twips.y(), twips.width(), twips.height());
    return readOut;
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
    : QMainWindow(parent),
      jukebox(*new Jukebox(dataFolder, services.media, services.mixer, this)),
      services(services),
      dataFolder_(dataFolder) {
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
    followJukebox();
    nameMainWindowForScreenReaders(*this);
}

MainWindow::~MainWindow() = default;

void MainWindow::bringToFront() {
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
}

void MainWindow::buildControls() {
    auto* client = new QWidget(this);
    client->setFixedSize(twipsToPixels(8130), twipsToPixels(5925));
    setCentralWidget(client);

    randomOrderBox =
        makeCheckBox(client, "randomOrderBox", "ランダム演奏", QString(), {4275, 1125, 1410, 195});
    showLyricsButton =
        makeButton(client, "showLyricsButton", "歌詞の表示", QString(), {4455, 1395, 1095, 375});
    volumeSlider = new QSlider(Qt::Horizontal, client);
    volumeSlider->setObjectName(QStringLiteral("volumeSlider"));
    volumeSlider->setToolTip("音量調整をします");
    volumeSlider->setRange(0, 10);
    volumeSlider->setTickPosition(QSlider::TicksBelow);
    placeInTwips(volumeSlider, 5850, 1890, 2040, 285);
    noSongsNoticeTimer = makeTimer(this, "noSongsNoticeTimer", 1000);
    previousSongButton =
        makeButton(client, "previousSongButton", "前の曲", "前の曲を演奏", {4455, 1845, 1095, 375});
    nextSongButton =
        makeButton(client, "nextSongButton", "次の曲", "次の曲を演奏", {3060, 1845, 1185, 375});
    autoPlayButton = makeButton(client, "autoPlayButton", "自動演奏",
                                "エントリーされた曲を先頭から順に自動演奏", {90, 1845, 1230, 375});
    songListView = new QTreeView(client);
    songListView->setObjectName(QStringLiteral("songListView"));
    songListView->setToolTip("エントリーされた曲の一覧");
    placeInTwips(songListView, 0, 2295, 8070, 2850);
    exitButton = makeButton(client, "exitButton", "終了", "演奏を停止し終了します。",
                            {6885, 5265, 915, 375});
    deleteSongButton = makeButton(client, "deleteSongButton", "曲の削除", "登録されている局の削除",
                                  {1305, 5265, 825, 375});
    addSongButton = makeButton(client, "addSongButton", "曲の追加", "ＭＰ３形式の曲の追加",
                               {180, 5265, 825, 375});
    resumeButton =
        makeButton(client, "resumeButton", "続行", "演奏の再開", {3060, 1395, 1170, 375});
    repeatBox = makeCheckBox(client, "repeatBox", "繰り返し再生",
                             "現在の曲を繰り返し演奏する場合にチェック", {5760, 1125, 1455, 210});
    stopButton = makeButton(client, "stopButton", "停止", "演奏の停止", {1575, 1845, 1215, 375});
    pauseButton =
        makeButton(client, "pauseButton", "一時停止", "演奏の一時停止", {1575, 1395, 1215, 375});
    playButton = makeButton(client, "playButton", "再生", "一覧から選択された曲を演奏",
                            {90, 1395, 1215, 375});
    positionBar = new PositionBar(client);
    positionBar->setObjectName(QStringLiteral("positionBar"));
    positionBar->setRange(0, 0);
    placeInTwips(positionBar, 120, 840, 7335, 255);
    volumeCaptionLabel = makeLabel(client, "volumeCaptionLabel", "ボリューム調整", QString(),
                                   {6165, 1710, 1545, 195});
    songPathLabel =
        makeLabel(client, "songPathLabel", QString(), "演奏中の曲の表示", {225, 360, 7305, 420});
    QFont bold = songPathLabel->font();
    bold.setPointSize(9);
    bold.setBold(true);
    songPathLabel->setFont(bold);
    songCaptionLabel =
        makeLabel(client, "songCaptionLabel", "演奏中の曲名 ", QString(), {240, 120, 6255, 255});
    playModeLabel = makeReadOut(client, "playModeLabel", "演奏の状況表示", {135, 1125, 1575, 255});
    positionLabel = makeReadOut(client, "positionLabel", "演奏経過時間", {5760, 1440, 855, 255});
    lengthLabel = makeReadOut(client, "lengthLabel", "演奏時間", {6720, 1440, 855, 255});
}

void MainWindow::buildMenus() {
    QMenu* settings = menuBar()->addMenu("設定");
    settings->setObjectName(QStringLiteral("settingsMenu"));
    QMenu* autoSetting = settings->addMenu("自動演奏設定");
    autoSetting->setObjectName(QStringLiteral("playModeMenu"));
    manualPlayMenuItem = makeAction(autoSetting, "manualPlayMenuItem", "マニュアル演奏", true);
    autoPlayMenuItem = makeAction(autoSetting, "autoPlayMenuItem", "自動演奏", true);
    initialVolumeMenuItem = makeAction(settings, "initialVolumeMenuItem", "音量初期値設定", false);
    QMenu* lyrics = settings->addMenu("歌詞表示 ");
    lyrics->setObjectName(QStringLiteral("lyricsDisplayMenu"));
    showLyricsMenuItem = makeAction(lyrics, "showLyricsMenuItem", "表示する", true);
    hideLyricsMenuItem = makeAction(lyrics, "hideLyricsMenuItem", "表示しない", true);

    QMenu* help = menuBar()->addMenu("ヘルプ(&H)");
    help->setObjectName(QStringLiteral("helpMenu"));
    instructionsMenuItem = makeAction(help, "instructionsMenuItem", "操作説明", false);
    homePageMenuItem = makeAction(help, "homePageMenuItem", "ＰＩＸＯＲのホームページ", false);
    help->addSeparator()->setObjectName(QStringLiteral("helpMenuSeparator"));
    versionMenuItem = makeAction(help, "versionMenuItem", "バージョン", false);

    registerLyricsMenuItem = menuBar()->addAction("歌詞登録");
    registerLyricsMenuItem->setObjectName(QStringLiteral("registerLyricsMenuItem"));
}

void MainWindow::connectHandlers() {
    const auto onClick = [this](QPushButton* button, void (MainWindow::*handler)()) {
        connect(button, &QPushButton::clicked, this, handler);
    };
    onClick(playButton, &MainWindow::onPlayButtonClicked);
    onClick(pauseButton, &MainWindow::onPauseButtonClicked);
    onClick(resumeButton, &MainWindow::onResumeButtonClicked);
    onClick(stopButton, &MainWindow::onStopButtonClicked);
    onClick(addSongButton, &MainWindow::onAddSongButtonClicked);
    onClick(deleteSongButton, &MainWindow::onDeleteSongButtonClicked);
    onClick(exitButton, &MainWindow::exitProgram);
    onClick(autoPlayButton, &MainWindow::onAutoPlayButtonClicked);
    onClick(nextSongButton, &MainWindow::onNextSongButtonClicked);
    onClick(previousSongButton, &MainWindow::onPreviousSongButtonClicked);
    onClick(showLyricsButton, &MainWindow::onShowLyricsButtonClicked);

    const auto onTrigger = [this](QAction* action, void (MainWindow::*handler)()) {
        connect(action, &QAction::triggered, this, handler);
    };
    onTrigger(manualPlayMenuItem, &MainWindow::onManualPlayMenuItemTriggered);
    onTrigger(autoPlayMenuItem, &MainWindow::onAutoPlayMenuItemTriggered);
    onTrigger(initialVolumeMenuItem, &MainWindow::onInitialVolumeMenuItemTriggered);
    onTrigger(showLyricsMenuItem, &MainWindow::onShowLyricsMenuItemTriggered);
    onTrigger(hideLyricsMenuItem, &MainWindow::onHideLyricsMenuItemTriggered);
    onTrigger(instructionsMenuItem, &MainWindow::onInstructionsMenuItemTriggered);
    onTrigger(homePageMenuItem, &MainWindow::onHomePageMenuItemTriggered);
    onTrigger(versionMenuItem, &MainWindow::onVersionMenuItemTriggered);
    onTrigger(registerLyricsMenuItem, &MainWindow::onRegisterLyricsMenuItemTriggered);

    connect(noSongsNoticeTimer, &QTimer::timeout, this, &MainWindow::onNoSongsNoticeTimerTick);
    connect(positionBar, &QScrollBar::valueChanged, this, &MainWindow::onPositionBarChanged);
    connect(positionBar, &QScrollBar::sliderReleased, this, &MainWindow::onPositionBarChanged);
    connect(repeatBox, &QCheckBox::toggled, &jukebox, &Jukebox::setRepeat);
    connect(randomOrderBox, &QCheckBox::toggled, &jukebox, &Jukebox::setRandomOrder);
}

// The window redraws itself from what the player core tells; each subsystem
// follows its own signals.
void MainWindow::followJukebox() {
    followPlayback();
    followLibrary();
    followAutoPlay();
    followVolume();
}

}  // namespace melvo
