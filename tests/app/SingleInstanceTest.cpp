// One jukebox per data folder, tried with real program processes: each copy
// of the program keeps its data files beside itself, so a copy in a temporary
// folder is a jukebox on that data folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <cstdlib>
#include <memory>
#include <string>

#include "app/SingleInstance.h"
#include "support/ProgramCopy.h"
#include "volume/AlsaMixer.h"

namespace melvo {
namespace {

using test::exitStatusOf;
using test::ProgramCopy;
using test::readFile;

// Without a master volume a start-up message waits for OK and the jukebox
// takes no songs; the hand-over itself works all the same.
bool mixerOpens() {
    AlsaMixer probe;
    if (probe.open() == 0) return true;
    const char* required = std::getenv("MELVO_REQUIRE_SOUND_SERVER");
    EXPECT_FALSE(required && std::string(required) == "1") << "no ALSA mixer opens";
    return false;
}

TEST(FileArguments, RelativeNamesAreTakenFromTheCurrentFolderAndBytesKept) {
    QTemporaryDir here;
    const QByteArray cwd = QFile::encodeName(QDir::currentPath());
    ASSERT_EQ(::chdir(QFile::encodeName(here.path()).constData()), 0);
    const QByteArray folder = QFile::encodeName(here.path());
    const char* argv[] = {"melvo", "/music/a.mp3", "caf\xe9.mp3", "./b.mp3", "sub/c.mp3", ""};
    const QByteArrayList files = fileArguments(6, argv);
    ASSERT_EQ(::chdir(cwd.constData()), 0);
    EXPECT_EQ(files, QByteArrayList({"/music/a.mp3", folder + "/caf\xe9.mp3", folder + "/b.mp3",
                                     folder + "/sub/c.mp3"}));
}

TEST(SingleInstance, LaterStartsHandTheirSongsToTheRunningJukeboxAndEnd) {
    if (!mixerOpens()) GTEST_SKIP() << "no ALSA mixer opens";
    ProgramCopy jukebox;
    QTemporaryDir music;
    for (const char* name : {"first.mp3", "second.mp3"}) {
        ASSERT_TRUE(QFile::copy(MELVO_FIXTURE_DIR "/tone440.mp3", music.filePath(name)));
    }
    const auto first = jukebox.run({music.filePath("first.mp3")});
    ASSERT_TRUE(jukebox.holdsFolder(*first));

    QElapsedTimer clock;
    clock.start();
    const auto second = jukebox.run({QStringLiteral("second.mp3")}, music.path());
    EXPECT_EQ(exitStatusOf(*second), 0);
    const auto third = jukebox.run({});  // only brings the window up
    EXPECT_EQ(exitStatusOf(*third), 0);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(first->state(), QProcess::Running);

    ::kill(static_cast<pid_t>(first->processId()), SIGTERM);  // the exit saves the list
    ASSERT_EQ(exitStatusOf(*first), 0);
    EXPECT_EQ(readFile(jukebox.file("mvMP3.csv")),
              QFile::encodeName(music.filePath("first.mp3")) + "\r\n" +
                  QFile::encodeName(music.filePath("second.mp3")) + "\r\n");
}

TEST(SingleInstance, LockOfAKilledJukeboxDoesNotBlockTheNextStart) {
    ProgramCopy jukebox;
    const auto killed = jukebox.run({});
    ASSERT_TRUE(jukebox.holdsFolder(*killed));
    killed->kill();  // SIGKILL: lock file and socket file stay behind
    killed->waitForFinished();

    const auto next = jukebox.run({});
    EXPECT_TRUE(jukebox.holdsFolder(*next));
    const auto later = jukebox.run({});
    EXPECT_EQ(exitStatusOf(*later), 0) << "the next jukebox listens in place of the killed one";
    next->kill();
    next->waitForFinished();
}

TEST(SingleInstance, JukeboxesOnTwoDataFoldersRunSideBySide) {
    ProgramCopy one;
    ProgramCopy two;
    const auto first = one.run({});
    const auto second = two.run({});
    EXPECT_TRUE(one.holdsFolder(*first));
    EXPECT_TRUE(two.holdsFolder(*second));
    const auto socketOf = [](const ProgramCopy& jukebox) {
        return readFile(jukebox.file(kInstanceLockFileName)).split('\n').value(1);
    };
    EXPECT_NE(socketOf(one), socketOf(two));
    for (QProcess* process : {first.get(), second.get()}) {
        EXPECT_EQ(process->state(), QProcess::Running);
        process->kill();
        process->waitForFinished();
    }
}

TEST(SingleInstance, HungJukeboxMakesTheLaterStartFailWithoutStartingASecondOne) {
    ProgramCopy jukebox;
    const auto hung = jukebox.run({});
    ASSERT_TRUE(jukebox.holdsFolder(*hung));
    const auto pid = static_cast<pid_t>(hung->processId());
    ::kill(pid, SIGSTOP);

    QElapsedTimer clock;
    clock.start();
    const auto later = jukebox.run({});
    EXPECT_EQ(exitStatusOf(*later), 1);
    EXPECT_GE(clock.elapsed(), 1900) << "it waits for an answer first";
    EXPECT_TRUE(QString::fromUtf8(later->readAllStandardError())
                    .contains(QStringLiteral("応答がありません")));
    EXPECT_TRUE(readFile(jukebox.file(kInstanceLockFileName)).startsWith(QByteArray::number(pid)));

    ::kill(pid, SIGCONT);
    hung->kill();
    hung->waitForFinished();
}

}  // namespace
}  // namespace melvo
