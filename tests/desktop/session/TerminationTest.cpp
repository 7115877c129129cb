// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Whatever the window waits on, a termination signal (a logout, a kill) ends
// the real program within a second, through its exit steps.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QElapsedTimer>
#include <csignal>

#include "support/ProgramCopy.h"

namespace melvo {
namespace {

using test::ProgramCopy;

TEST(Termination, EndsTheProgramWithinASecondWhateverItWaitsOn) {
    const struct {
        const char* name;
        bool songIsPipe;
        bool lyricsArePipe;
    } cases[] = {{"a named pipe as the song", true, false},
                 {"a named pipe as the lyrics", false, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ProgramCopy jukebox;
        const QByteArray song = QFile::encodeName(jukebox.file("song.mp3"));
        const QByteArray lyrics = QFile::encodeName(jukebox.file("song.txt"));
        if (c.songIsPipe) {
            ASSERT_EQ(::mkfifo(song.constData(), 0600), 0);
        } else {
            ASSERT_TRUE(QFile::copy(MELVO_FIXTURE_DIR "/tone440.mp3", jukebox.file("song.mp3")));
        }
        if (c.lyricsArePipe) {
            ASSERT_EQ(::mkfifo(lyrics.constData(), 0600), 0);
        }
        QFile settings(jukebox.file("mvMP3.ini"));
        ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
        settings.write("[MUSIC]\r\nAUTO=1\r\nKASI_DISPLAY=1\r\n");
        settings.close();
        QFile list(jukebox.file("mvMP3.csv"));
        ASSERT_TRUE(list.open(QIODevice::WriteOnly));
        list.write(song + "\r\n");
        list.close();

        const auto process = jukebox.run({});
        ASSERT_TRUE(jukebox.holdsFolder(*process));
        QTest::qWait(2500);  // automatic play has tried the song by now
        QElapsedTimer clock;
        clock.start();
        ::kill(static_cast<pid_t>(process->processId()), SIGTERM);
        EXPECT_EQ(test::exitStatusOf(*process, 3000), 0);
        EXPECT_LT(clock.elapsed(), 1000);
        EXPECT_EQ(test::readFile(jukebox.file("mvMP3.csv")), song + "\r\n");
    }
}

}  // namespace
}  // namespace melvo
