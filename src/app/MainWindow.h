// The main window: every control and menu item of the jukebox. It drives the
// player core and redraws itself from the core's signals; the handlers of each
// subsystem are defined in that subsystem's folder.
#pragma once

#include <QByteArrayList>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <string>
#include <vector>

#include "app/Jukebox.h"

class QAction;
class QCheckBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSlider;
class QTimer;
class QTreeView;
class QUrl;

namespace melvo {

class Dialogs;
class DesktopLauncher;
class ReadOut;
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

    // The player core every control drives.
    Jukebox& jukebox;

    // Ends the process at once once the exit steps have run; tests replace it.
    std::function<void()> endProgram;

    // ---- Start-up and exit (app) ----
    void startUp();
    void exitProgram();
    bool exitStarted() const { return exitStarted_; }
    // Shows the window, also when minimized, in front of the others.
    void bringToFront();

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
    // Lights the button for a second while everything else goes on.
    static void lightForASecond(QPushButton* button);

    // ---- Help menu and version window (app) ----
    void onInstructionsMenuItemTriggered();
    void onHomePageMenuItemTriggered();
    void onVersionMenuItemTriggered();

    // ---- Transport (playback) ----
    void onPlayButtonClicked();
    void onPauseButtonClicked();
    void onResumeButtonClicked();
    void onStopButtonClicked();
    void onPositionBarChanged();

    // ---- Song list (library) ----
    // Loads the song list file into the core and reports each missing song.
    void loadSongList();
    // Writes the song list file. When that fails the user is told why and asked
    // whether to exit all the same; false when the user chose to stay.
    bool saveSongList();
    void onSongListClicked();
    void onSongListDoubleClicked();
    void onAddSongButtonClicked();
    void onDeleteSongButtonClicked();
    // Adds the existing MP3 files among paths (file-system bytes) at the end
    // of the list, in order, refusing with a message a name the list cannot
    // hold; answers how many were added.
    int addSongFiles(const std::vector<std::string>& paths);
    // Files dropped on the list: added as the add button adds, while it works.
    void addDroppedSongs(const QList<QUrl>& urls);
    // Files handed in from outside (the command line, a later start): added
    // once start-up has finished.
    void openSongFiles(const QByteArrayList& files);
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
    void onNoSongsNoticeTimerTick();

    // ---- Lyrics (lyrics) ----
    void showLyricsForCurrentSong();
    void showLyricsOnRequest();
    void setLyricsWindowTitle(const std::string& path);
    void onShowLyricsButtonClicked();
    void onShowLyricsMenuItemTriggered();
    void onHideLyricsMenuItemTriggered();
    void onRegisterLyricsMenuItemTriggered();
    // Loads the chosen song's lyrics into the editor; false when they are too
    // long to edit whole, which the user is told.
    bool prepareLyricsEditor();

    // ---- Volume (volume) ----
    // Opens the mixer, telling the user when that fails, and fits the volume
    // sliders to its master volume.
    void openMixer();
    void onVolumeSliderClicked();
    void onInitialVolumeMenuItemTriggered();
    // The volume window, created hidden when it does not exist yet.
    VolumeWindow* ensureVolumeWindow();

    // ---- Controls, in the window's own order ----
    QCheckBox* randomOrderBox;
    QPushButton* showLyricsButton;
    QSlider* volumeSlider;
    QTimer* noSongsNoticeTimer;
    QPushButton* previousSongButton;
    QPushButton* nextSongButton;
    QPushButton* autoPlayButton;
    QTreeView* songListView;
    QPushButton* exitButton;
    QPushButton* deleteSongButton;
    QPushButton* addSongButton;
    QPushButton* resumeButton;
    QCheckBox* repeatBox;
    QPushButton* stopButton;
    QPushButton* pauseButton;
    QPushButton* playButton;
    QScrollBar* positionBar;
    QLabel* volumeCaptionLabel;
    QLabel* songPathLabel;
    QLabel* songCaptionLabel;
    ReadOut* playModeLabel;
    ReadOut* positionLabel;
    ReadOut* lengthLabel;
    SongListModel* songRows;  // the rows songListView shows, one per song entry

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

    // ---- What only the window keeps ----
    std::string lyricsDisplaySetting = "0";
    int lyricsDisplay = 0;
    int lyricsEditorOpen = 0;
    std::string lyricsEditTarget;

    Services services;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void buildControls();
    void buildMenus();
    void connectHandlers();
    void followJukebox();
    void followPlayback();
    void followLibrary();
    void followAutoPlay();
    void followVolume();
    void setUpSongList();
    void setTransportEnabled(bool play, bool pause, bool resume, bool stop);
    void showSongLength(double seconds);
    void showPosition(double seconds, MediaMode mode);

    QString dataFolder_;
    bool startedUp_ = false;
    std::vector<std::string> heldSongFiles_;  // handed in before start-up finished
    bool exitStarted_ = false;
    bool updatingPositionBar_ = false;  // a move of the bar by the program, not a seek
};

// Pixels for a length in twips (1/1440 inch) on this screen.
int twipsToPixels(int twips);
// Places a control by its left, top, width and height in twips.
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

}  // namespace melvo
