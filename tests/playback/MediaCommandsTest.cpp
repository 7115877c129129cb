// The player core's media commands over the engine double.
#include <gtest/gtest.h>

#include "support/PlayerWindow.h"

namespace melvo::test {
namespace {

using MediaCommands = PlayerWindow;

TEST_F(MediaCommands, LengthQueryOpensAndClosesThePath) {
    const std::string path = "/歌/a song, with \"quotes\".mp3";
    addSongs({path}, 215'042);
    EXPECT_DOUBLE_EQ(w->jukebox.songLength(path), 215.042);
    EXPECT_FALSE(h.media.isOpen(path));

    play(0);
    EXPECT_TRUE(h.media.isOpen(path));
    EXPECT_DOUBLE_EQ(w->jukebox.songLength(path), 215.042);
    EXPECT_FALSE(h.media.isOpen(path));  // asking the playing song's length stops it

    EXPECT_DOUBLE_EQ(w->jukebox.songLength("/not/there.mp3"), 0.0);
}

TEST_F(MediaCommands, StatusQueriesAnswerEmptyOnceClosed) {
    addSongs({"/m/a.mp3"});
    play(0);
    h.media.devices["/m/a.mp3"].positionMs = 1'234;
    EXPECT_DOUBLE_EQ(w->jukebox.position(), 1.234);
    EXPECT_EQ(w->jukebox.mode(), MediaMode::Playing);
    w->jukebox.stop();
    EXPECT_DOUBLE_EQ(w->jukebox.position(), 0.0);
    EXPECT_EQ(w->jukebox.mode(), MediaMode::Closed);
}

TEST_F(MediaCommands, SeekGoesOnFromThatSecondAndPlays) {
    addSongs({"/m/a.mp3"});
    play(0);
    w->onPauseButtonClicked();
    h.media.log.clear();
    w->jukebox.seek(12);
    EXPECT_EQ(h.media.log, (std::vector<std::string>{"seek /m/a.mp3 12000", "play /m/a.mp3"}));
    EXPECT_EQ(w->jukebox.mode(), MediaMode::Playing);
}

TEST_F(MediaCommands, ClosingTakesThePlayingMarkOffAndKeepsThePlayedMark) {
    addSongs({"/m/a.mp3", "/m/b.mp3"});
    play(1);
    EXPECT_EQ(w->songRows->markText(1), "♪♪");
    w->jukebox.stop();
    EXPECT_EQ(w->songRows->markText(1), "");
    EXPECT_EQ(w->songRows->textColour(1), QColor(Qt::black));
    EXPECT_TRUE(w->songRows->isPlayed(1));
    EXPECT_TRUE(w->jukebox.isPlayed(1));
    EXPECT_EQ(w->jukebox.playingEntry(), -1);
    EXPECT_EQ(w->jukebox.lastPlayedEntry(), 1);
}

}  // namespace
}  // namespace melvo::test
