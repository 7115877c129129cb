// The song list panel: the list view and its rows, the add and delete
// buttons, the chosen song's path, and the messages of the list file. The
// rows show the player core's song list; clicks and drops go to its commands.
#pragma once

#include <QObject>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QTreeView;
class QUrl;

namespace melvo {

class Dialogs;
class Jukebox;
class SongListModel;

class SongListPanel : public QObject {
    Q_OBJECT

  public:
    struct Controls {
        QTreeView* view;
        QPushButton* addSongButton;
        QPushButton* deleteSongButton;
        QLabel* songPathLabel;
    };

    SongListPanel(Controls controls, Jukebox& jukebox, Dialogs& dialogs, QObject* parent);

    // The rows the view shows, one per song entry.
    SongListModel* rows() const { return rows_; }
    // Loads the song list file into the core and reports each missing song.
    void loadSongList();
    // Writes the song list file. When that fails the user is told why and asked
    // whether to exit all the same; false when the user chose to stay.
    bool saveSongList();
    // The selected row, counted from 0; -1 when none.
    int selectedRow() const;
    void selectRow(int row);
    void scrollToSelectedSong();
    // Files dropped on the list: added as the add button adds, at any time.
    void addDroppedSongs(const QList<QUrl>& urls);

    void onSongListClicked();
    void onSongListDoubleClicked();
    void onAddSongButtonClicked();
    void onDeleteSongButtonClicked();

  private:
    void setUpView();
    void followSongList();

    Controls c_;
    Jukebox& jukebox_;
    Dialogs& dialogs_;
    SongListModel* rows_;
};

}  // namespace melvo
