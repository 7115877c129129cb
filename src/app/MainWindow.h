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
    void Form_Load();
    void Command3_Click();
    bool exitStarted() const { return exitStarted_; }
    // autoPlayMode read as a number is not 0 (text that is no number reads as 0).
    bool autoPlayOn() const;

    // ---- Control-state sets (app) ----
    void NoSongsControls();
    void ManualIdleControls();
    void AutoIdleControls();
    void PlayingControls();
    void StoppedControls();
    void PausedColours();
    void ResumedColours();
    void SongEndedColours();
    void AutoPlayingControls();
    void SongAddedControls();
    void SongDeletedControls();
    static void setBackColour(QPushButton* button, ButtonColour colour);
    static ButtonColour backColour(const QPushButton* button);

    // ---- Help menu and version window (app) ----
    void MENU_HELP_SOUSA_Click();
    void MENU_HELP_HPMEPAGE_Click();
    void MENU_HELP_VER_Click();

    // ---- Media commands and transport (playback) ----
    // Opens and plays the song; false when it could not be played.
    bool OpenAndPlay(const std::string& path);
    void PauseSong(const std::string& path);
    void ResumeSong(const std::string& path);
    void CloseSong(const std::string& path);
    double GetSongLength(const std::string& path);
    double GetSongPosition(const std::string& path);
    std::string GetPlayMode(const std::string& path);
    void SeekAndPlay(const std::string& path, double seconds);
    // Tells the user, once per run, when the engine could not open the sound output.
    void NoticeOutputFailure();
    bool outputFailureShown = false;
    void cmdPlay_Click();
    void cmdPause_Click();
    void cmdResume_Click();
    void cmdStop_Click();
    void Timer1_Timer();
    void HScroll1_Change();
    // Shows the song's length in lblLength and makes it the position bar's maximum.
    void ShowSongLength(const std::string& path);

    // ---- Song list (library) ----
    void LoadSongList();
    // Writes the song list file. When that fails the user is told why and asked
    // whether to exit all the same; false when the user chose to stay.
    bool SaveSongList();
    void AddSongListItem(const std::string& path);
    void RemoveSelectedSongItem();
    void ListView1_Click();
    void ListView1_DblClick();
    void Command1_Click();
    void Command2_Click();
    // Files dropped on the list: the MP3 files among them are added at the end, in order.
    void AddDroppedSongs(const QStringList& files);
    void ScrollToSelectedSong();
    // The selected row of ListView1, counted from 0; -1 when none.
    int selectedRow() const;
    void selectRow(int row);

    // ---- Automatic play (autoplay) ----
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void f1_menu_auto_on_Click();
    void f1_menu_manual_Click();
    void Timer2_Timer();
    void Timer3_Timer();
    // Makes the chosen next song of automatic play the current entry.
    void SelectNextAutoPlaySong();
    std::mt19937 randomGenerator{std::random_device{}()};

    // ---- Lyrics (lyrics) ----
    void ShowLyricsForCurrentSong();
    void ShowLyricsOnRequest();
    void SetLyricsWindowTitle(const std::string& path);
    void Command7_Click();
    void menu_kasi_dsp_Click();
    void menu_kasi_nondsp_Click();
    void menu_kasi_touroku_Click();
    void PrepareLyricsEditor();

    // ---- Volume (volume) ----
    void OpenMixer();
    // Gives the system back the master volume it had at start-up.
    void RestoreStartupVolume();
    // Closes the mixer; later volume writes are skipped.
    void CloseMixer();
    void ApplySongVolume();
    void Slider1_Click();
    void menu_sound_set_Click();
    // The volume window, created hidden when it does not exist yet.
    VolumeWindow* volumeWindow();

    // ---- Files ----
    std::string settingsPath() const;
    std::string songListPath() const;

    // ---- Controls, in the window's own order ----
    QCheckBox* Check1;
    QPushButton* Command7;
    QSlider* Slider1;
    QTimer* Timer3;
    QPushButton* Command6;
    QPushButton* Command5;
    QPushButton* Command4;
    QTimer* Timer2;
    QTreeView* ListView1;
    QPushButton* Command3;
    QPushButton* Command2;
    QPushButton* Command1;
    QPushButton* cmdResume;
    QCheckBox* chkRepeat;
    QPushButton* cmdStop;
    QPushButton* cmdPause;
    QTimer* Timer1;
    QPushButton* cmdPlay;
    QScrollBar* HScroll1;
    QLabel* Label3;
    QLabel* Label2;
    QLabel* Label1;
    QLabel* lblSoundStatus;
    QLabel* lblPosition;
    QLabel* lblLength;
    SongStore List1;
    SongListModel* songRows;  // the rows ListView1 shows, one per entry of List1

    // ---- Menu items ----
    QAction* f1_menu_manual;
    QAction* f1_menu_auto_on;
    QAction* menu_sound_set;
    QAction* menu_kasi_dsp;
    QAction* menu_kasi_nondsp;
    QAction* MENU_HELP_SOUSA;
    QAction* MENU_HELP_HPMEPAGE;
    QAction* MENU_HELP_VER;
    QAction* menu_kasi_touroku;

    // ---- Secondary windows: single instances, created on first use ----
    QPointer<LyricsWindow> kasi_dsp;
    QPointer<LyricsEditor> kasi_setup;
    QPointer<VolumeWindow> vol_set;
    QPointer<VersionWindow> FORMVERSION;

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
    void StepToSong(QPushButton* button, int (*step)(int current, int count));
    void setTransportEnabled(bool play, bool pause, bool resume, bool stop);

    QString dataFolder_;
    bool exitStarted_ = false;
};

// Pixels for a length in twips (1/1440 inch) on this screen.
int twipsToPixels(int twips);
// Places a control by its left, top, width and height in twips.
void placeInTwips(QWidget* widget, int left, int top, int width, int height);

}  // namespace melvo
