// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "window/main/MainWindow.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QSlider>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

#include "core/settings/DataFolder.h"
#include "core/tags/TagReader.h"
#include "core/tags/TagScanner.h"
#include "window/common/Accessibility.h"
#include "window/common/AppIcon.h"
#include "window/common/Dialogs.h"
#include "window/common/ReadOut.h"
#include "window/common/Twips.h"
#include "window/library/SongListPanel.h"
#include "window/lyrics/LyricsPanel.h"
#include "window/playback/PositionBar.h"
#include "window/playback/TransportPanel.h"
#include "window/volume/VolumePanel.h"

namespace melvo {

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
    buildPanels();
    connectAutoPlay();
    connectTagEncoding();
    followControlState();
    addKeys();
    connect(exitButton, &QPushButton::clicked, this, &MainWindow::exitProgram);
    connect(instructionsMenuItem, &QAction::triggered, this,
            &MainWindow::onInstructionsMenuItemTriggered);
    connect(homePageMenuItem, &QAction::triggered, this, &MainWindow::onHomePageMenuItemTriggered);
    connect(versionMenuItem, &QAction::triggered, this, &MainWindow::onVersionMenuItemTriggered);
    // The position bar has neither caption nor tool tip nor a fixed label
    // above it, so it gets its own name; the rest follow their captions.
    positionBar->setAccessibleName(QStringLiteral("演奏位置"));
    nameForScreenReaders(this);
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
    designedSize_ = QSize(twipsToPixels(8130), twipsToPixels(5925));
    client->setMinimumSize(designedSize_);
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
    designedListPlace_ = songListView->geometry();
    exitButton = makeButton(client, "exitButton", "終了", "演奏を停止し終了します。（Ctrl+Q）",
                            {6885, 5265, 915, 375});
    deleteSongButton = makeButton(client, "deleteSongButton", "曲の削除",
                                  "登録されている局の削除（Deleteキー）", {1305, 5265, 825, 375});
    addSongButton = makeButton(client, "addSongButton", "曲の追加", "ＭＰ３形式の曲の追加",
                               {180, 5265, 825, 375});
    designedBottomRowTop_ = addSongButton->y();
    resumeButton = makeButton(client, "resumeButton", "続行", "演奏の再開（スペースキー）",
                              {3060, 1395, 1170, 375});
    repeatBox = makeCheckBox(client, "repeatBox", "繰り返し再生",
                             "現在の曲を繰り返し演奏する場合にチェック", {5760, 1125, 1455, 210});
    stopButton = makeButton(client, "stopButton", "停止", "演奏の停止", {1575, 1845, 1215, 375});
    pauseButton = makeButton(client, "pauseButton", "一時停止", "演奏の一時停止（スペースキー）",
                             {1575, 1395, 1215, 375});
    playButton = makeButton(client, "playButton", "再生", "一覧から選択された曲を演奏（Enterキー）",
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
    QMenu* file = menuBar()->addMenu("ファイル(&F)");
    file->setObjectName(QStringLiteral("fileMenu"));
    addFolderMenuItem = makeAction(file, "addFolderMenuItem", "フォルダーの追加...", false);
    readPlaylistMenuItem =
        makeAction(file, "readPlaylistMenuItem", "プレイリストの読み込み...", false);
    writePlaylistMenuItem =
        makeAction(file, "writePlaylistMenuItem", "プレイリストに書き出す...", false);

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
    QMenu* tagEncoding = settings->addMenu("タグの文字コード");
    tagEncoding->setObjectName(QStringLiteral("tagEncodingMenu"));
    automaticTagEncodingMenuItem =
        makeAction(tagEncoding, "automaticTagEncodingMenuItem", "自動", true);
    shiftJisTagEncodingMenuItem =
        makeAction(tagEncoding, "shiftJisTagEncodingMenuItem", "Shift-JIS", true);
    latin1TagEncodingMenuItem =
        makeAction(tagEncoding, "latin1TagEncodingMenuItem", "Latin-1", true);
    auto* tagEncodings = new QActionGroup(tagEncoding);
    for (QAction* item :
         {automaticTagEncodingMenuItem, shiftJisTagEncodingMenuItem, latin1TagEncodingMenuItem})
        tagEncodings->addAction(item);
    songNoticeMenuItem = makeAction(settings, "songNoticeMenuItem", "曲の開始を通知する", true);

    QMenu* help = menuBar()->addMenu("ヘルプ(&H)");
    help->setObjectName(QStringLiteral("helpMenu"));
    instructionsMenuItem = makeAction(help, "instructionsMenuItem", "操作説明", false);
    homePageMenuItem = makeAction(help, "homePageMenuItem", "ＰＩＸＯＲのホームページ", false);
    help->addSeparator()->setObjectName(QStringLiteral("helpMenuSeparator"));
    versionMenuItem = makeAction(help, "versionMenuItem", "バージョン", false);

    registerLyricsMenuItem = menuBar()->addAction("歌詞登録");
    registerLyricsMenuItem->setObjectName(QStringLiteral("registerLyricsMenuItem"));
}

// The song list takes the room a larger window gives; the buttons under it
// keep their places, counted from the window's bottom.
void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    const QSize extra = centralWidget()->size() - designedSize_;
    songListView->setGeometry(designedListPlace_.adjusted(0, 0, extra.width(), extra.height()));
    for (QPushButton* button : {addSongButton, deleteSongButton, exitButton})
        button->move(button->x(), designedBottomRowTop_ + extra.height());
}

void MainWindow::buildPanels() {
    Dialogs& dialogs = services.dialogs;
    const QDir cache(cacheFolder(dataFolder_));
    jukebox.setArtFolder(cache.filePath(QStringLiteral("art")).toStdString());
    // The reading comes with the settings, at start-up.
    tagScanner =
        new TagScanner(cache.filePath(QStringLiteral("tags.sqlite")).toStdString(), {}, {}, this);
    transportPanel =
        new TransportPanel({playButton, pauseButton, resumeButton, stopButton, positionBar,
                            positionLabel, lengthLabel, playModeLabel, repeatBox},
                           jukebox, dialogs, this);
    songListPanel =
        new SongListPanel({songListView, addSongButton, deleteSongButton, songPathLabel,
                           addFolderMenuItem, readPlaylistMenuItem, writePlaylistMenuItem},
                          jukebox, dialogs, *tagScanner, this);
    volumePanel = new VolumePanel(volumeSlider, this, jukebox, dialogs);
    connect(initialVolumeMenuItem, &QAction::triggered, volumePanel,
            &VolumePanel::onInitialVolumeMenuItemTriggered);
    lyricsPanel = new LyricsPanel({showLyricsButton, showLyricsMenuItem, hideLyricsMenuItem,
                                   registerLyricsMenuItem, songPathLabel},
                                  this, jukebox, dialogs);
}

// The automatic-play buttons and the random box only forward to the core.
void MainWindow::connectAutoPlay() {
    connect(autoPlayButton, &QPushButton::clicked, &jukebox, &Jukebox::startAutoPlay);
    connect(nextSongButton, &QPushButton::clicked, &jukebox, &Jukebox::next);
    connect(previousSongButton, &QPushButton::clicked, &jukebox, &Jukebox::previous);
    connect(randomOrderBox, &QCheckBox::toggled, &jukebox, &Jukebox::setRandomOrder);
    connect(&jukebox.autoPlay(), &AutoPlay::randomOrderChanged, randomOrderBox,
            &QCheckBox::setChecked);
    connect(autoPlayMenuItem, &QAction::triggered, this, [this] {
        showPlayMode(true);
        jukebox.setAutoPlayMode(true);
    });
    connect(manualPlayMenuItem, &QAction::triggered, this, [this] {
        showPlayMode(false);
        jukebox.setAutoPlayMode(false);
    });
    connect(&jukebox, &Jukebox::noSongsNotice, this, [this] {
        services.dialogs.message("音楽登録が一曲もされていませんので登録してください");
    });
}

// The keys of the window do what its buttons do, and nothing while the
// button is off; they are the window's, so they work in the list too, where
// space would otherwise tick the played mark.
void MainWindow::addKeys() {
    const auto onKey = [this](QKeySequence key, const std::function<void()>& action) {
        connect(new QShortcut(key, this), &QShortcut::activated, this, action);
    };
    onKey(Qt::Key_Space, [this] { onSpaceKey(); });
    for (const Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter})
        onKey(enter, [this] { songListPanel->onSongListDoubleClicked(); });
    onKey(Qt::Key_Delete, [this] {
        if (jukebox.controls().remove) songListPanel->onDeleteSongButtonClicked();
    });
    onKey(Qt::Key_F1, [this] { onInstructionsMenuItemTriggered(); });
    onKey(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { exitProgram(); });
}

// Space pauses a playing song and resumes a paused one.
void MainWindow::onSpaceKey() {
    const Transport& transport = jukebox.transport();
    if (transport.mode() == MediaMode::Playing && jukebox.controls().pause) {
        jukebox.pause();
    } else if (transport.mode() == MediaMode::Paused && jukebox.controls().resume) {
        jukebox.resume();
    }
}

// The menu shows the core's choice; a choice goes to the core.
void MainWindow::connectTagEncoding() {
    const std::pair<QAction*, TagEncoding> items[] = {
        {automaticTagEncodingMenuItem, TagEncoding::Automatic},
        {shiftJisTagEncodingMenuItem, TagEncoding::ShiftJis},
        {latin1TagEncodingMenuItem, TagEncoding::Latin1},
    };
    for (const auto& [item, encoding] : items) {
        connect(item, &QAction::triggered, &jukebox,
                [this, encoding] { jukebox.setTagEncoding(encoding); });
    }
    connect(&jukebox, &Jukebox::tagEncodingChanged, this, &MainWindow::showTagEncoding);
    connect(&jukebox, &Jukebox::tagEncodingChanged, this, &MainWindow::readTagsIn);
    showTagEncoding(jukebox.tagEncoding());
    connect(songNoticeMenuItem, &QAction::triggered, &jukebox, &Jukebox::setTellsSongStarts);
    connect(&jukebox, &Jukebox::tellsSongStartsChanged, songNoticeMenuItem, &QAction::setChecked);
}

// The list's tags, read again in the encoding the user chose; the cache
// keeps the songs of one encoding only.
void MainWindow::readTagsIn(TagEncoding encoding) {
    std::vector<std::string> paths;
    for (int i = 0; i < jukebox.songList().count(); ++i)
        paths.push_back(jukebox.songList().path(i));
    tagScanner->setReading(
        "taglib-" + std::to_string(static_cast<int>(encoding)),
        [encoding](const std::string& path) { return readSongInfo(path, encoding); }, paths);
}

void MainWindow::showTagEncoding(TagEncoding encoding) {
    automaticTagEncodingMenuItem->setChecked(encoding == TagEncoding::Automatic);
    shiftJisTagEncodingMenuItem->setChecked(encoding == TagEncoding::ShiftJis);
    latin1TagEncodingMenuItem->setChecked(encoding == TagEncoding::Latin1);
}

void MainWindow::showPlayMode(bool on) {
    manualPlayMenuItem->setChecked(!on);
    autoPlayMenuItem->setChecked(on);
}

}  // namespace melvo
