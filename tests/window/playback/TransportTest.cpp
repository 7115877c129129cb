// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The transport panel over the engine double: what each button and timer tick
// sends to the engine, and what the read-outs, colours and song rows show.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <algorithm>

#include "support/PlayerWindow.h"
#include "window/common/ReadOut.h"

namespace melvo::test {
namespace {

using Transport = PlayerWindow;

bool highlighted(const QPushButton* button) {
    return MainWindow::backColour(button) == ButtonColour::Highlight;
}

int markedRows(const SongListModel& rows) {
    int marked = 0;
    for (int row = 0; row < rows.rowCount(); ++row) marked += rows.markText(row).isEmpty() ? 0 : 1;
    return marked;
}

TEST_F(Transport, PlayOpensTheSelectedSongShowsItsLengthAndMarksItsRow) {
    addSongs({"/music/first song.mp3", "/音楽/歌, \"二\".mp3"});
    play(1);

    const std::string& path = song(1);
    EXPECT_EQ(h.media.log, (std::vector<std::string>{"open " + path, "close " + path, "close ",
                                                     "open " + path, "play " + path}));
    EXPECT_EQ(h.media.devices[path].mode, MediaMode::Playing);
    EXPECT_EQ(w->lengthLabel->text(), "215.0");
    EXPECT_EQ(w->positionBar->maximum(), 215);
    EXPECT_TRUE(timer(w->jukebox, "positionTimer")->isActive());

    EXPECT_EQ(w->songListPanel->rows()->markText(1), "♪♪");
    EXPECT_EQ(w->songListPanel->rows()->textColour(1), QColor(Qt::red));
    EXPECT_TRUE(w->songListPanel->rows()->isPlayed(1));
    EXPECT_FALSE(w->songListPanel->rows()->isPlayed(0));
    EXPECT_EQ(w->jukebox.songList().playingEntry(), 1);
    EXPECT_EQ(w->songListPanel->selectedRow(), 1);

    EXPECT_TRUE(highlighted(w->playButton));
}

TEST_F(Transport, BarMaximumRoundsTheShownLengthHalfToEven) {
    addSongs({"/m/a.mp3"}, 101'500);
    play(0);
    EXPECT_EQ(w->lengthLabel->text(), "101.5");
    EXPECT_EQ(w->positionBar->maximum(), 102);
}

TEST_F(Transport, PlayingThePlayingSongAgainRestartsItFromTheBeginning) {
    addSongs({"/m/a.mp3"});
    play(0);
    h.media.devices[song(0)].positionMs = 80'000;
    h.media.log.clear();

    w->jukebox.play();
    // The length query's close stops the song; the open after it starts afresh.
    EXPECT_EQ(h.media.log[1], "close " + song(0));
    EXPECT_EQ(h.media.devices[song(0)].positionMs, 0);
    EXPECT_EQ(h.media.devices[song(0)].mode, MediaMode::Playing);
    EXPECT_EQ(w->songListPanel->rows()->markText(0), "♪♪");
}

TEST_F(Transport, PlayingAnotherSongClosesAndUnmarksTheOldOne) {
    addSongs({"/m/a.mp3", "/m/b.mp3", "/m/c.mp3"});
    play(0);
    play(2);

    EXPECT_FALSE(h.media.isOpen(song(0)));
    EXPECT_TRUE(h.media.isOpen(song(2)));
    EXPECT_EQ(markedRows(*w->songListPanel->rows()), 1);
    EXPECT_EQ(w->songListPanel->rows()->markText(2), "♪♪");
    EXPECT_EQ(w->songListPanel->rows()->textColour(0), QColor(Qt::black));
    EXPECT_TRUE(w->songListPanel->rows()->isPlayed(0));  // played marks stay for the cycle
}

// The next song is shorter than where the bar stands: lowering the maximum
// clamps the bar, which is the program's move and never a seek; the length is
// measured once.
TEST_F(Transport, ShorterNextSongClampsTheBarWithoutASeekAndIsMeasuredOnce) {
    addSongs({"/m/long.mp3"}, 20'000);
    addSongs({"/m/short.mp3"}, 10'000);
    play(0);
    h.media.devices[song(0)].positionMs = 15'000;
    pollPosition(w->jukebox);
    ASSERT_EQ(w->positionBar->value(), 15);
    h.media.log.clear();
    int seeks = 0;
    std::vector<double> lengths;
    const melvo::Transport& transport = w->jukebox.transport();
    QObject::connect(&transport, &melvo::Transport::songSeeked, [&] { ++seeks; });
    QObject::connect(&transport, &melvo::Transport::songLengthKnown,
                     [&](double seconds) { lengths.push_back(seconds); });

    w->jukebox.next();
    for (const std::string& call : h.media.log) EXPECT_FALSE(call.starts_with("seek")) << call;
    EXPECT_EQ(seeks, 0);
    EXPECT_EQ(lengths, std::vector<double>{10.0});
    EXPECT_EQ(w->positionBar->maximum(), 10);
    EXPECT_EQ(h.media.devices[song(1)].positionMs, 0);
    EXPECT_EQ(h.media.devices[song(1)].mode, MediaMode::Playing);
}

TEST_F(Transport, TimerShowsThePositionAndClampsTheBarWithoutSeeking) {
    addSongs({"/m/a.mp3"});
    play(0);
    h.media.log.clear();
    auto& device = h.media.devices[song(0)];

    device.positionMs = 12'500;
    pollPosition(w->jukebox);
    EXPECT_EQ(w->positionLabel->text(), "12.5");
    EXPECT_EQ(w->positionBar->value(), 12);
    EXPECT_EQ(w->playModeLabel->text(), "PLAYING");

    device.positionMs = 215'700;  // past the whole seconds of the bar
    pollPosition(w->jukebox);
    EXPECT_EQ(w->positionBar->value(), 215);

    EXPECT_TRUE(std::none_of(h.media.log.begin(), h.media.log.end(),
                             [](const std::string& call) { return call.starts_with("seek"); }));
}

TEST_F(Transport, SongEndWithoutRepeatClosesItAndLaterTicksShowNothing) {
    addSongs({"/m/a.mp3"});
    play(0);
    h.media.devices[song(0)].positionMs = 215'040;
    h.media.finish(song(0));

    pollPosition(w->jukebox);
    EXPECT_EQ(w->playModeLabel->text(), "STOPPED");
    EXPECT_FALSE(h.media.isOpen(song(0)));
    EXPECT_EQ(w->songListPanel->rows()->markText(0), "");
    EXPECT_TRUE(highlighted(w->stopButton));
    EXPECT_TRUE(timer(w->jukebox, "positionTimer")->isActive());

    pollPosition(w->jukebox);
    EXPECT_EQ(w->positionLabel->text(), "0.0");
    EXPECT_EQ(w->positionBar->value(), 0);
    EXPECT_EQ(w->playModeLabel->text(), "");
    EXPECT_FALSE(timer(w->jukebox, "positionTimer")->isActive()) << "no ticks that change nothing";
}

TEST_F(Transport, NothingTicksWhilePausedAndBothTimersGoOnAfterwards) {
    addSongs({"/m/a.mp3"});
    play(0);
    timer(w->jukebox, "autoPlayTimer")->start();
    h.media.devices[song(0)].positionMs = 12'300;
    w->jukebox.pause();
    EXPECT_EQ(w->positionLabel->text(), "12.3");
    EXPECT_EQ(w->playModeLabel->text(), "PAUSED");
    EXPECT_FALSE(timer(w->jukebox, "positionTimer")->isActive());
    EXPECT_FALSE(timer(w->jukebox, "autoPlayTimer")->isActive());
    w->jukebox.resume();
    EXPECT_TRUE(timer(w->jukebox, "positionTimer")->isActive());
    EXPECT_TRUE(timer(w->jukebox, "autoPlayTimer")->isActive());
}

TEST_F(Transport, RepeatRestartsTheSongButLeavesItsRowUnmarked) {
    addSongs({"/m/a.mp3"});
    play(0);
    w->repeatBox->setChecked(true);
    h.media.devices[song(0)].positionMs = 215'040;
    h.media.finish(song(0));

    pollPosition(w->jukebox);
    EXPECT_TRUE(h.media.isOpen(song(0)));
    EXPECT_EQ(h.media.devices[song(0)].mode, MediaMode::Playing);
    EXPECT_EQ(h.media.devices[song(0)].positionMs, 0);
    EXPECT_EQ(w->songListPanel->rows()->markText(0), "");
    EXPECT_TRUE(highlighted(w->playButton));  // no end-of-song colours
}

// A repeat that cannot start (the file went away, or there is no sound
// output) ends the song instead of retrying at every tick.
TEST_F(Transport, RepeatThatCannotRestartEndsTheSong) {
    addSongs({"/m/a.mp3"});
    play(0);
    w->repeatBox->setChecked(true);
    h.media.finish(song(0));
    h.media.unplayable[song(0)] = true;

    pollPosition(w->jukebox);
    EXPECT_FALSE(h.media.isOpen(song(0)));
    EXPECT_TRUE(highlighted(w->stopButton));
    h.media.log.clear();
    pollPosition(w->jukebox);
    EXPECT_TRUE(std::none_of(h.media.log.begin(), h.media.log.end(),
                             [](const std::string& call) { return call.starts_with("open"); }));
}

TEST_F(Transport, ResumeWithoutPauseDoesNothing) {
    addSongs({"/m/a.mp3"});
    play(0);
    h.media.log.clear();
    w->jukebox.resume();
    EXPECT_TRUE(h.media.log.empty());
    EXPECT_FALSE(highlighted(w->resumeButton));
}

// The pause flag survives stop and play, so the resume reaches the new song;
// the resume button lights for a second while timer ticks go on.
TEST_F(Transport, ResumeAfterPauseStopAndPlayIsLitForASecondWhileEventsRun) {
    addSongs({"/m/a.mp3"});
    play(0);
    w->jukebox.pause();
    EXPECT_TRUE(highlighted(w->pauseButton));
    EXPECT_EQ(h.media.devices[song(0)].mode, MediaMode::Paused);
    w->jukebox.stop();
    play(0);
    h.media.devices[song(0)].positionMs = 3'000;
    h.media.log.clear();

    w->jukebox.resume();
    EXPECT_EQ(h.media.log, std::vector<std::string>{"resume " + song(0)});
    EXPECT_TRUE(highlighted(w->resumeButton));

    QTest::qWait(1'100);
    EXPECT_EQ(w->positionLabel->text(), "3.0");  // the position went on meanwhile
    EXPECT_FALSE(highlighted(w->resumeButton));
}

TEST_F(Transport, HeldHandleFollowsTheMouseAndSeeksOnceWhenLetGo) {
    addSongs({"/m/a.mp3"});
    play(0);
    h.media.log.clear();
    w->positionBar->setSliderDown(true);
    for (int second : {10, 20, 30}) {
        w->positionBar->setValue(second);
        h.media.devices[song(0)].positionMs = 5'000;
        pollPosition(w->jukebox);
        EXPECT_EQ(w->positionBar->value(), second) << "the tick leaves a held handle alone";
    }
    EXPECT_TRUE(h.media.log.empty()) << "the song plays on while the handle is held";
    w->positionBar->setSliderDown(false);
    EXPECT_EQ(h.media.log,
              (std::vector<std::string>{"seek " + song(0) + " 30000", "play " + song(0)}));
}

TEST_F(Transport, DraggingTheBarWhilePausedPlaysOnFromThere) {
    addSongs({"/m/a.mp3"});
    play(0);
    w->jukebox.pause();
    h.media.log.clear();

    w->positionBar->setValue(42);
    EXPECT_EQ(h.media.log,
              (std::vector<std::string>{"seek " + song(0) + " 42000", "play " + song(0)}));
    EXPECT_EQ(h.media.devices[song(0)].mode, MediaMode::Playing);
    EXPECT_TRUE(highlighted(w->pauseButton));
}

TEST_F(Transport, StopClosesTheSongEndsAutomaticPlayAndResetsTheReadouts) {
    addSongs({"/m/a.mp3"});
    play(0);
    h.media.devices[song(0)].positionMs = 30'000;
    pollPosition(w->jukebox);
    w->jukebox.setAutoPlayMode(true);
    timer(w->jukebox, "autoPlayTimer")->start();

    w->jukebox.stop();
    EXPECT_FALSE(h.media.isOpen(song(0)));
    EXPECT_EQ(w->songListPanel->rows()->markText(0), "");
    EXPECT_FALSE(w->jukebox.autoPlay().isOn());
    EXPECT_FALSE(timer(w->jukebox, "positionTimer")->isActive());
    EXPECT_FALSE(timer(w->jukebox, "autoPlayTimer")->isActive());
    EXPECT_EQ(w->positionLabel->text(), "0.0");
    EXPECT_EQ(w->positionBar->value(), 0);
    EXPECT_EQ(w->playModeLabel->text(), "");
}

TEST_F(Transport, StopWithNothingOpenOnlyResetsControlsAndReadouts) {
    w->positionLabel->setText("9.9");
    w->playModeLabel->setText("PLAYING");
    w->jukebox.stop();
    EXPECT_EQ(h.media.log, std::vector<std::string>{"close "});
    EXPECT_EQ(w->positionLabel->text(), "0.0");
    EXPECT_EQ(w->playModeLabel->text(), "");
    EXPECT_TRUE(highlighted(w->stopButton));
}

TEST_F(Transport, PlayWithNoSongChosenAsksForOneAndPlaysNothing) {
    addSongs({"/m/a.mp3"});
    w->jukebox.stop();
    h.media.log.clear();

    w->jukebox.play();
    EXPECT_EQ(h.dialogs.messages, std::vector<QString>{"演奏曲を選択指示してください"});
    EXPECT_TRUE(h.media.log.empty());
    EXPECT_FALSE(highlighted(w->playButton));
    EXPECT_TRUE(w->pauseButton->isEnabled());  // the playing states stay
}

TEST_F(Transport, SongThatCannotOpenShowsZeroLengthAndNoPlayingMark) {
    addSongs({"/m/broken.mp3"});
    h.media.unplayable[song(0)] = true;
    play(0);
    EXPECT_EQ(w->lengthLabel->text(), "0.0");
    EXPECT_EQ(w->positionBar->maximum(), 0);
    EXPECT_EQ(w->songListPanel->rows()->markText(0), "");
    EXPECT_TRUE(w->songListPanel->rows()->isPlayed(0)) << "automatic play goes on past it";
}

TEST_F(Transport, SongWithNoEntrySelectedPlaysWithoutMarkingARow) {
    addSongs({"/m/a.mp3"});
    chooseEntry(0);
    w->jukebox.chooseEntry(-1);  // no entry is current; the song stays chosen
    w->jukebox.play();
    EXPECT_TRUE(h.media.isOpen(song(0)));
    EXPECT_EQ(markedRows(*w->songListPanel->rows()), 0);
    EXPECT_EQ(w->jukebox.songList().playingEntry(), -1);
}

TEST_F(Transport, MissingSoundOutputIsReportedOncePerRun) {
    addSongs({"/m/a.mp3", "/m/b.mp3"});
    h.media.outputError = "no audio device";
    play(0);
    ASSERT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_TRUE(h.dialogs.messages[0].contains("no audio device"));
    EXPECT_EQ(h.dialogs.icons[0], MessageIcon::Exclamation);

    h.media.outputError = "no audio device";
    play(1);
    w->repeatBox->setChecked(true);
    h.media.outputError = "no audio device";
    h.media.finish(song(1));
    pollPosition(w->jukebox);  // the repeat restart opens the song again
    EXPECT_EQ(h.dialogs.messages.size(), 1u);
    EXPECT_TRUE(h.media.outputError.empty());
}

}  // namespace
}  // namespace melvo::test
