// The media procedures over the engine double, and the wait.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <ctime>

#include "playback/Wait.h"
#include "support/PlayerWindow.h"

namespace melvo::test {
namespace {

using MediaCommands = PlayerWindow;

TEST_F(MediaCommands, LengthQueryOpensAndClosesThePath) {
    const std::string path = "/歌/a song, with \"quotes\".mp3";
    h.media.lengths[path] = 215'042;
    EXPECT_DOUBLE_EQ(w->songLength(path), 215.042);
    EXPECT_FALSE(h.media.isOpen(path));

    w->openAndPlay(path);
    EXPECT_DOUBLE_EQ(w->songLength(path), 215.042);
    EXPECT_FALSE(h.media.isOpen(path));  // asking the playing song's length stops it

    EXPECT_DOUBLE_EQ(w->songLength("/not/there.mp3"), 0.0);
}

TEST_F(MediaCommands, StatusQueriesAnswerEmptyOnceClosed) {
    const std::string path = "/m/a.mp3";
    w->openAndPlay(path);
    h.media.devices[path].positionMs = 1'234;
    EXPECT_DOUBLE_EQ(w->songPosition(path), 1.234);
    EXPECT_EQ(w->playMode(path), "PLAYING");
    w->closeSong(path);
    EXPECT_DOUBLE_EQ(w->songPosition(path), 0.0);
    EXPECT_EQ(w->playMode(path), "");
}

TEST_F(MediaCommands, SeekSendsWholeMillisecondsRoundedHalfToEvenThenPlays) {
    const std::string path = "/m/a.mp3";
    w->openAndPlay(path);
    h.media.log.clear();
    w->seekAndPlay(path, 12.5);
    w->seekAndPlay(path, 0.0);
    w->seekAndPlay(path, 0.0025);  // 2.5 ms
    w->seekAndPlay(path, 0.0035);  // 3.5 ms
    EXPECT_EQ(h.media.log,
              (std::vector<std::string>{
                  "seek " + path + " 12500", "play " + path, "seek " + path + " 0", "play " + path,
                  "seek " + path + " 2", "play " + path, "seek " + path + " 4", "play " + path}));
}

TEST_F(MediaCommands, CloseUnmarksThePlayingRowWhateverPathItCloses) {
    addSongs({"/m/a.mp3", "/m/b.mp3"});
    w->songRows->markPlaying(1);
    w->songRows->setPlayed(1, true);
    w->playingItemIndex = 2;

    w->closeSong("/m/other.mp3");
    EXPECT_EQ(w->songRows->markText(1), "");
    EXPECT_EQ(w->songRows->textColour(1), QColor(Qt::black));
    EXPECT_TRUE(w->songRows->isPlayed(1));
    EXPECT_EQ(w->playingItemIndex, 2);

    // Rows deleted after the song was marked: nothing left to unmark.
    w->playingItemIndex = 3;
    w->closeSong("/m/a.mp3");
    w->playingItemIndex = 0;
    w->closeSong("/m/a.mp3");
    EXPECT_EQ(h.media.log.back(), "close /m/a.mp3");
}

TEST(waitSeconds, WaitsTheTimeWhileEventsRunWithoutSpinning) {
    int ticks = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] { ++ticks; });
    tick.start(50);

    QElapsedTimer clock;
    clock.start();
    const std::clock_t cpuBefore = std::clock();
    waitSeconds(0.4);
    const double cpuSeconds = static_cast<double>(std::clock() - cpuBefore) / CLOCKS_PER_SEC;

    EXPECT_GE(clock.elapsed(), 400);
    EXPECT_LT(clock.elapsed(), 1'000);
    EXPECT_GE(ticks, 4);
    EXPECT_LT(cpuSeconds, 0.2);  // a busy loop would burn the whole 0.4 s
}

TEST(waitSeconds, EndsOnItsOwnWhenNothingElseHappens) {
    QElapsedTimer clock;
    clock.start();
    waitSeconds(0.0);
    waitSeconds(-3.0);
    EXPECT_LT(clock.elapsed(), 100);
    waitSeconds(0.15);
    EXPECT_GE(clock.elapsed(), 150);
    EXPECT_LT(clock.elapsed(), 1'000);
}

}  // namespace
}  // namespace melvo::test
