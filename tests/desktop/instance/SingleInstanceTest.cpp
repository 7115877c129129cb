// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// One jukebox per data folder, tried with real program processes: each copy
// of the program keeps its data files beside itself, so a copy in a temporary
// folder is a jukebox on that data folder.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/volume/AlsaMixer.h"
#include "desktop/instance/SingleInstance.h"
#include "support/ProgramCopy.h"
#include "support/ScopedEnv.h"

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

TEST(CommandLine, OptionsAreAnsweredOrRefusedWithoutTouchingAJukebox) {
    const struct {
        QStringList arguments;
        int status;
        const char* says;
    } cases[] = {
        {{"--help"}, 0, "使い方: melvo [ファイル|フォルダー|プレイリスト]..."},
        {{"song.mp3", "--version"}, 0, "Melvo 1."},
        {{"-x.mp3"}, 2, "-x.mp3 というオプションはありません。"},
    };
    ProgramCopy copy;
    for (const auto& c : cases) {
        const auto run = copy.run(c.arguments);
        EXPECT_EQ(exitStatusOf(*run), c.status) << c.says;
        EXPECT_TRUE(QString::fromUtf8(run->readAllStandardOutput() + run->readAllStandardError())
                        .contains(QString::fromUtf8(c.says)));
        EXPECT_FALSE(QFile::exists(copy.file(kInstanceLockFileName))) << c.says;
    }
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

// A later start finds the jukebox of its program folder also once that folder
// turned read-only (a read-only bind mount, else chattr +i), and never starts
// a second one on the user folder.
TEST(SingleInstance, LaterStartFindsTheJukeboxOfAProgramFolderTurnedReadOnly) {
    ProgramCopy copy;
    QTemporaryDir home;
    const QString folder = copy.folder.path(), song = home.filePath("song.mp3");
    ASSERT_TRUE(QFile::copy(MELVO_FIXTURE_DIR "/tone440.mp3", song));
    test::ScopedEnv dataHome("XDG_DATA_HOME", home.path().toStdString());
    SingleInstance jukebox(folder);
    QSignalSpy handed(&jukebox, &SingleInstance::openRequested);
    ASSERT_EQ(jukebox.start({}), SingleInstance::Role::Primary);
    const auto run = [](const QString& command) { return std::system(command.toLocal8Bit()) == 0; };
    const bool mounted = run("mount --bind " + folder + " " + folder + " 2>/dev/null") &&
                         run("mount -o remount,bind,ro " + folder + " 2>/dev/null");
    if (!mounted && !run("umount " + folder + " 2>/dev/null; chattr +i " + folder + " 2>/dev/null"))
        GTEST_SKIP() << "neither a read-only bind mount nor chattr +i may be used here";
    const auto later = copy.run({song});
    EXPECT_TRUE(QTest::qWaitFor([&] { return later->state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(later->exitCode(), 0);
    run(mounted ? "umount " + folder : "chattr -i " + folder);
    EXPECT_EQ(handed.value(0).value(0).value<QByteArrayList>(),
              QByteArrayList{QFile::encodeName(song)});
    EXPECT_FALSE(QFile::exists(home.filePath("melvo")));
}

// A process at the other end of a jukebox's socket, sending raw bytes.
class Peer {
  public:
    explicit Peer(const QByteArray& socketPath) : fd_(::socket(AF_UNIX, SOCK_STREAM, 0)) {
        sockaddr_un address{AF_UNIX, {}};
        socketPath.toStdString().copy(address.sun_path, sizeof address.sun_path - 1);
        ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    ~Peer() { ::close(fd_); }
    // Sends bytes while the jukebox runs; false once it has dropped this peer.
    bool send(const QByteArray& bytes) {
        QTest::qWait(1);
        return ::send(fd_, bytes.constData(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL) >= 0 ||
               errno == EAGAIN;
    }

  private:
    int fd_;
};

QByteArray numbers(std::initializer_list<quint32> values) {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    for (const quint32 value : values) out << value;
    return bytes;
}

// A peer that sends the numbers, then bytes at full speed: dropped within a second.
std::function<void(const QByteArray&)> flood(std::initializer_list<quint32> values) {
    const QByteArray first = numbers(values);
    return [first](const QByteArray& socket) {
        Peer peer(socket);
        QElapsedTimer clock;
        clock.start();
        for (bool open = peer.send(first); open && clock.elapsed() < 20000;)
            open = peer.send(QByteArray(1 << 16, 'x'));
        EXPECT_LT(clock.elapsed(), 1000);
    };
}

// A jukebox run by this test on a program copy's data folder, against a
// folder taken by someone else and peers that misbehave. Each row ends with a
// later start of the copy, which hands its song over or fails.
TEST(SingleInstance, SocketWithstandsSquattersFloodsSlowPeersAndLackOfDescriptors) {
    const struct {
        const char* scenario;
        bool runtimeFolder;  // false: a folder of its own in TMPDIR
        mode_t squatted;     // the mode of that folder made before; 0: none
        std::function<void(const QByteArray& socket)> peers;
        bool handedOver;
    } cases[] = {
        {"no runtime folder", false, 0, nullptr, true},
        {"no runtime folder, the private one open to all", false, 0777, nullptr, false},
        {"a huge declared length", true, 0, flood({0x4d4c5631, 1, 0xFFFFFFF0}), true},
        {"a count of 0xFFFFFFFF", true, 0, flood({0x4d4c5631, 0xFFFFFFFF}), true},
        {"idle and slow peers", true, 0,
         [](const QByteArray& socket) {
             Peer idle(socket);
             Peer slow(socket);
             QElapsedTimer clock;
             clock.start();
             slow.send(numbers({0x4d4c5631, 1, 100}));
             while (slow.send("x") && clock.elapsed() < 20000) QTest::qWait(200);
             EXPECT_LT(clock.elapsed(), 6000);
             QTest::qWait(200);  // the idle one came a moment later
             EXPECT_FALSE(idle.send("M"));
         },
         true},
        {"more connections than descriptors", true, 0,
         [](const QByteArray& socket) {
             rlimit old{};
             ::getrlimit(RLIMIT_NOFILE, &old);
             rlimit low = old;
             low.rlim_cur = std::distance(std::filesystem::directory_iterator("/proc/self/fd"),
                                          std::filesystem::directory_iterator{}) +
                            40;
             ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &low), 0);
             std::vector<std::unique_ptr<Peer>> peers(60);
             for (auto& peer : peers) peer = std::make_unique<Peer>(socket);
             QTest::qWait(500);  // the jukebox accepts until it has no descriptor left
             peers.clear();
             ::setrlimit(RLIMIT_NOFILE, &old);
             QTest::qWait(500);
         },
         true},
    };
    ProgramCopy copy;
    const QString song = copy.file("song.mp3");
    ASSERT_TRUE(QFile::copy(MELVO_FIXTURE_DIR "/tone440.mp3", song));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scenario);
        QTemporaryDir tmp;
        test::ScopedEnv tmpdir("TMPDIR", tmp.path().toStdString());
        test::ScopedEnv runtime("XDG_RUNTIME_DIR",
                                c.runtimeFolder ? qgetenv("XDG_RUNTIME_DIR").toStdString() : "");
        const QByteArray privateFolder =
            QFile::encodeName(tmp.filePath("melvo-%1").arg(::geteuid()));
        if (c.squatted)
            ::mkdir(privateFolder.constData(), 0), ::chmod(privateFolder.constData(), c.squatted);

        SingleInstance jukebox(copy.folder.path());
        QSignalSpy handed(&jukebox, &SingleInstance::openRequested);
        ASSERT_EQ(jukebox.start({}), SingleInstance::Role::Primary);
        const QByteArray socket = readFile(copy.file(kInstanceLockFileName)).split('\n').value(1);
        if (!c.runtimeFolder && c.handedOver) {
            struct stat folder {};
            EXPECT_TRUE(socket.startsWith(privateFolder + '/'));
            EXPECT_TRUE(::lstat(privateFolder, &folder) == 0 && (folder.st_mode & 0777) == 0700);
        }
        if (c.peers) c.peers(socket);

        const auto later = copy.run({song});
        EXPECT_TRUE(QTest::qWaitFor([&] { return later->state() == QProcess::NotRunning; }, 10000));
        EXPECT_EQ(later->exitCode(), c.handedOver ? 0 : 1);
        EXPECT_LE(handed.size(), 1);
        EXPECT_EQ(handed.value(0).value(0).value<QByteArrayList>(),
                  c.handedOver ? QByteArrayList{QFile::encodeName(song)} : QByteArrayList{});
    }
}

}  // namespace
}  // namespace melvo
