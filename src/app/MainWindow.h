// The main window: every control, menu item and timer of the jukebox, the
// state of the running program and the song entries. The handlers of each
// subsystem are defined in that subsystem's folder.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <random>
#include <string>

#include "library/SongStore.h"
#include "volume/Mixer.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSlider;
class QTimer;
class QTreeView;

namespace melvo {

class Dialogs;
class DesktopLauncher;
class LyricsEditor;
class SongListModel;
class LyricsWindow;
class MediaEngine;
class VersionWindow;
class VolumeWindow;

// The platform services the window works through; tests hand in doubles.
struct Services {
    Dialogs& dialogs;
    MediaEngine& media;
    Mixer& mixer;
    DesktopLauncher& launcher;
};

enum class ButtonColour { Normal, Highlight };

class MainWindow : public QMainWindow {
    Q_OBJECT

  public:
    // dataFolder holds the settings, the song list and nothing else.
    MainWindow(const QString& dataFolder, Services services, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Ends the process at once once the exit steps have run; tests replace it.
    std::function<void()> endProgram;

    // ---- Start-up and exit (app) ----
    void startUp();
    void exitProgram();
    bool exitStarted() const { return exitStarted_; }
    // autoPlayMode read as a number is not 0 (text that is no number reads as 0).
    bool autoPlayOn() const;

    // ---- Control-state sets (app) ----
    void showNoSongsControls();
    void showManualIdleControls();
    void showAutoIdleControls();
    void showPlayingControls();
    void showStoppedControls();
    void showPausedColours();
    void showResumedColours();
    void showSongEndedColours();
    void showAutoPlayingControls();
    void showSongAddedControls();
    void showSongDeletedControls();
    static void setBackColour(QPushButton* button, ButtonColour colour);
    static ButtonColour backColour(const QPushButton* button);

    // ---- Help menu and version window (app) ----
    void onInstructionsMenuItemTriggered();
    void onHomePageMenuItemTriggered();
    void onVersionMenuItemTriggered();

    // ---- Media commands and transport (playback) ----
    // Opens and plays the song; false when it could not be played.
    bool openAndPlay(const std::string& path);
    void pauseSong(const std::string& path);
    void resumeSong(const std::string& path);
    void closeSong(const std::string& path);
    double songLength(const std::string& path);
    double songPosition(const std::string& path);
    std::string playMode(const std::string& path);
    void seekAndPlay(const std::string& path, double seconds);
    // Tells the user, once per run, when the engine could not open the sound output.
    void noticeOutputFailure();
    bool outputFailureShown = false;
    void onPlayButtonClicked();
    void onPauseButtonClicked();
    void onResumeButtonClicked();
    void onStopButtonClicked();
    void onPositionTimerTick();
    void onPositionBarChanged();
    // Shows the song's length in lengthLabel and makes it the position bar's maximum.
    void showSongLength(const std::string& path);

    // ---- Song list (library) ----
    void loadSongList();
    // Writes the song list file. When that fails the user is told why and asked
    // whether to exit all the same; false when the user chose to stay.
    bool saveSongList();
    void addSongListItem(const std::string& path);
    void removeSelectedSongItem();
    void onSongListClicked();
    void onSongListDoubleClicked();
    void onAddSongButtonClicked();
    void onDeleteSongButtonClicked();
    // Files dropped on the list: the MP3 files among them are added at the end, in order.
    void addDroppedSongs(const QStringList& files);
    void scrollToSelectedSong();
    // The selected row of songListView, counted from 0; -1 when none.
    int selectedRow() const;
    void selectRow(int row);

    // ---- Automatic play (autoplay) ----
    void onAutoPlayButtonClicked();
    void onNextSongButtonClicked();
    void onPreviousSongButtonClicked();
    void onAutoPlayMenuItemTriggered();
    void onManualPlayMenuItemTriggered();
    void onAutoPlayTimerTick();
    void onNoSongsNoticeTimerTick();
    // Makes the chosen next song of automatic play the current entry.
    void selectNextAutoPlaySong();
    std::mt19937 randomGenerator{std::random_device{}()};

    // ---- Lyrics (lyrics) ----
    void showLyricsForCurrentSong();
    void showLyricsOnRequest();
    void setLyricsWindowTitle(const std::string& path);
    void onShowLyricsButtonClicked();
    void onShowLyricsMenuItemTriggered();
    void onHideLyricsMenuItemTriggered();
    void onRegisterLyricsMenuItemTriggered();
    void prepareLyricsEditor();

    // ---- Volume (volume) ----
    void openMixer();
    // Gives the system back the master volume it had at start-up.
    void restoreStartupVolume();
    // Closes the mixer; later volume writes are skipped.
    void closeMixer();
    void applySongVolume();
    void onVolumeSliderClicked();
    void onInitialVolumeMenuItemTriggered();
    // The volume window, created hidden when it does not exist yet.
    VolumeWindow* ensureVolumeWindow();

    // ---- Files ----
    std::string settingsPath() const;
    std::string songListPath() const;

    // ---- Controls, in the window's own order ----
    QCheckBox* randomOrderBox;
    QPushButton* showLyricsButton;
    QSlider* volumeSlider;
    QTimer* noSongsNoticeTimer;
    QPushButton* previousSongButton;
    QPushButton* nextSongButton;
    QPushButton* autoPlayButton;
    QTimer* autoPlayTimer;
    QTreeView* songListView;
    QPushButton* exitButton;
    QPushButton* deleteSongButton;
    QPushButton* addSongButton;
    QPushButton* resumeButton;
    QCheckBox* repeatBox;
    QPushButton* stopButton;
    QPushButton* pauseButton;
    QTimer* positionTimer;
    QPushButton* playButton;
    QScrollBar* positionBar;
    QLabel* volumeCaptionLabel;
    QLabel* songPathLabel;
    QLabel* songCaptionLabel;
    QLabel* playModeLabel;
    QLabel* positionLabel;
    QLabel* lengthLabel;
    SongStore songEntries;
    SongListModel* songRows;  // the rows songListView shows, one per entry of songEntries

    // ---- Menu items ----
    QAction* manualPlayMenuItem;
    QAction* autoPlayMenuItem;
    QAction* initialVolumeMenuItem;
    QAction* showLyricsMenuItem;
    QAction* hideLyricsMenuItem;
    QAction* instructionsMenuItem;
    QAction* homePageMenuItem;
    QAction* versionMenuItem;
    QAction* registerLyricsMenuItem;

    // ---- Secondary windows: single instances, created on first use ----
    QPointer<LyricsWindow> lyricsWindow;
    QPointer<LyricsEditor> lyricsEditor;
    QPointer<VolumeWindow> volumeWindow;
    QPointer<VersionWindow> versionWindow;

    // ---- State ----
    std::string lyricsDisplaySetting = "0";
    int lyricsDisplay = 0;
    std::string autoPlayMode = "0";
    std::string randomPlaySetting = "0";
    int autoPlayStarted = 0;
    int noSongsNotice = 0;
    int isPaused = 0;
    int playingItemIndex = 0;
    std::string currentSongPath;
    int positionUpdating = 0;
    std::string lastOpenedPath;
    std::string defaultVolumeSetting = "6553";
    bool mixerOpened = false;  // the mixer opened and its master volume found
    MixerControl volumeControl;
    std::uint32_t startupVolume = 0;
    int lyricsEditorOpen = 0;
    std::string lyricsEditTarget;

    Services services;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void connectHandlers();
    void setUpSongList();
    void stepToSong(QPushButton* button, int (*step)(int current, int count));
    void setTransportEnabled(bool play, bool pause, bool resume, bool stop);

    QString dataFolder_;
    bool exitStarted_ = false;
};

// Pixels for a length in twips (1/1440 inch) on this screen.
int twipsToPixels(int twips);
// Places a control by its left, top, width and height in twips.
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

}  // namespace melvo
