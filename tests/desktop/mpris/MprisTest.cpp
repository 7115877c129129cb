// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The jukebox on the desktop's media controls: the real window over the engine
// double, offered on the session bus and driven by real D-Bus clients (a
// second connection of this process, and playerctl).
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSlider>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <limits>
#include <optional>

#include "app/WindowHost.h"
#include "core/common/Numbers.h"
#include "core/volume/VolumeScale.h"
#include "desktop/mpris/Mpris.h"
#include "desktop/notify/SongNotifier.h"
#include "support/WindowHarness.h"
#include "window/common/ReadOut.h"
#include "window/library/SongListModel.h"
#include "window/main/MainWindow.h"

namespace melvo::test {
namespace {

const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kRoot = QStringLiteral("org.mpris.MediaPlayer2");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// Skips the test when what it needs is missing, or fails it where the test
// run promises a sound server and a session bus.
#define REQUIRE_OR_SKIP(present, why)                                         \
    do {                                                                      \
        if (!(present)) {                                                     \
            const char* required = std::getenv("MELVO_REQUIRE_SOUND_SERVER"); \
            if (required && std::string(required) == "1") FAIL() << (why);    \
            GTEST_SKIP() << (why);                                            \
        }                                                                     \
    } while (false)

bool sessionBusAnswers() { return QDBusConnection::sessionBus().isConnected(); }
const char* const kNoBus = "no session bus (run the tests under tools/with-sound-server.sh)";

bool highlighted(const QPushButton* button) {
    return MainWindow::backColour(button) == ButtonColour::Highlight;
}

// A started window with three songs added as the add button adds them, each
// 215.04 seconds long, offered on the session bus.
struct BusJukebox {
    explicit BusJukebox(const QDBusConnection& bus = QDBusConnection::sessionBus()) {
        w = &h.start();
        timer(w->jukebox, "autoPlayTimer")->stop();
        timer(w->jukebox, "noSongsNoticeTimer")->stop();
        for (const char* name : {"a.mp3", "b.mp3", "c.mp3"}) {
            h.writeFile(name, "");
            h.media.lengths[h.path(name)] = 215'040;
        }
        w->jukebox.addSongFiles({h.path("a.mp3"), h.path("b.mp3"), h.path("c.mp3")});
        h.dialogs.messages.clear();
        host.emplace(*w);
        mpris.emplace(w->jukebox, *host);
        published = mpris->publish(bus);
    }
    void choose(int index) {
        w->jukebox.chooseEntry(index);
        w->songListPanel->selectRow(index);
    }
    void play(int index) {
        choose(index);
        w->jukebox.play();
    }
    std::string song(int index) const { return h.path(std::string(1, char('a' + index)) + ".mp3"); }
    FakeMediaEngine::Device& device(int index) { return h.media.devices[song(index)]; }
    // Lets the window and the bus catch up.
    static void settle() { QTest::qWait(50); }

    WindowHarness h;
    MainWindow* w = nullptr;
    std::optional<WindowHost> host;
    std::optional<Mpris> mpris;
    bool published = false;
};

// A D-Bus client on its own connection. Its calls run this thread's event
// loop meanwhile, so the jukebox in the same thread can answer them.
class BusClient {
  public:
    explicit BusClient(QString service)
        : service_(std::move(service)),
          bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kClientName)) {}
    ~BusClient() { QDBusConnection::disconnectFromBus(kClientName); }

    QDBusMessage call(const QString& interface, const QString& method,
                      const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(service_, kPath, interface, method);
        message.setArguments(arguments);
        return bus_.call(message, QDBus::BlockWithGui, 5000);
    }
    QVariant get(const QString& property, const QString& interface = kPlayer) {
        const QDBusMessage reply = call(kProperties, QStringLiteral("Get"), {interface, property});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    QVariantMap metadata() {
        return qdbus_cast<QVariantMap>(get(QStringLiteral("Metadata")).value<QDBusArgument>());
    }
    QDBusMessage set(const QString& property, const QVariant& value) {
        return call(kProperties, QStringLiteral("Set"),
                    {kPlayer, property, QVariant::fromValue(QDBusVariant(value))});
    }
    QDBusConnection& bus() { return bus_; }

  private:
    static inline const QString kClientName = QStringLiteral("mprisTestClient");
    QString service_;
    QDBusConnection bus_;
};

TEST(Mpris, MethodsActAsTheWindowsControlsAndOnlyWhenTheyCouldBeUsed) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    using Step = std::function<void(BusJukebox&)>;
    const Step nothing = [](BusJukebox&) {};
    const Step pauseAfterPlaying = [](BusJukebox& j) {
        j.play(1);
        j.w->jukebox.pause();
    };
    const struct {
        const char* name;
        Step before;
        const char* method;
        std::function<QVariantList(BusJukebox&)> arguments;
        Step check;
        bool refused = false;  // answered with an error
    } cases[] = {
        {"PlayPause when stopped plays the chosen song", [](BusJukebox& j) { j.choose(1); },
         "PlayPause", nullptr,
         [](BusJukebox& j) {
             EXPECT_EQ(j.w->jukebox.songList().playingEntry(), 1);
             EXPECT_EQ(j.device(1).mode, MediaMode::Playing);
             EXPECT_TRUE(highlighted(j.w->playButton));
         }},
        {"PlayPause while playing pauses", [](BusJukebox& j) { j.play(1); }, "PlayPause", nullptr,
         [](BusJukebox& j) {
             EXPECT_EQ(j.device(1).mode, MediaMode::Paused);
             EXPECT_TRUE(highlighted(j.w->pauseButton));
         }},
        {"PlayPause while paused resumes", pauseAfterPlaying, "PlayPause", nullptr,
         [](BusJukebox& j) {
             EXPECT_EQ(j.device(1).mode, MediaMode::Playing);
             EXPECT_EQ(j.h.media.log.back(), "resume " + j.song(1));
         }},
        {"Play lets a playing song go on", [](BusJukebox& j) { j.play(0); }, "Play", nullptr,
         [](BusJukebox& j) { EXPECT_EQ(j.h.media.log.back(), "play " + j.song(0)); }},
        {"Play without a chosen song asks nothing", nothing, "Play", nullptr,
         [](BusJukebox& j) {
             EXPECT_TRUE(j.h.dialogs.messages.empty());
             EXPECT_TRUE(j.h.media.devices.empty());
         }},
        {"Pause of a stopped song does nothing", [](BusJukebox& j) { j.choose(0); }, "Pause",
         nullptr, [](BusJukebox& j) { EXPECT_FALSE(j.w->jukebox.transport().isPaused()); }},
        {"Stop", [](BusJukebox& j) { j.play(0); }, "Stop", nullptr,
         [](BusJukebox& j) {
             EXPECT_FALSE(j.h.media.isOpen(j.song(0)));
             EXPECT_TRUE(highlighted(j.w->stopButton));
         }},
        {"Next", [](BusJukebox& j) { j.play(0); }, "Next", nullptr,
         [](BusJukebox& j) {
             EXPECT_EQ(j.w->jukebox.songList().playingEntry(), 1);
             EXPECT_EQ(j.w->songListPanel->selectedRow(), 1);
         }},
        {"Next while its button is off does nothing",
         [](BusJukebox& j) {
             j.choose(0);
             j.w->jukebox.deleteEntry(0);  // the first song goes: next is off
         },
         "Next", nullptr, [](BusJukebox& j) { EXPECT_TRUE(j.h.media.devices.empty()); }},
        {"Seek moves on from the shown position",
         [](BusJukebox& j) {
             j.play(0);
             j.device(0).positionMs = 5000;
         },
         "Seek", [](BusJukebox&) { return QVariantList{qlonglong{10'400'000}}; },
         [](BusJukebox& j) {
             EXPECT_EQ(j.device(0).positionMs, 15'000);
             EXPECT_EQ(j.device(0).mode, MediaMode::Playing);
         }},
        {"Seek back before the start goes to the start",
         [](BusJukebox& j) {
             j.play(0);
             j.device(0).positionMs = 5000;
         },
         "Seek", [](BusJukebox&) { return QVariantList{qlonglong{-60'000'000}}; },
         [](BusJukebox& j) { EXPECT_EQ(j.device(0).positionMs, 0); }},
        {"Seek past the end is the next song", [](BusJukebox& j) { j.play(0); }, "Seek",
         [](BusJukebox&) { return QVariantList{qlonglong{216'000'000}}; },
         [](BusJukebox& j) { EXPECT_EQ(j.w->jukebox.songList().playingEntry(), 1); }},
        {"Seek by the largest offset is the next song",
         [](BusJukebox& j) {
             j.play(0);
             j.device(0).positionMs = 5000;
         },
         "Seek", [](BusJukebox&) { return QVariantList{std::numeric_limits<qlonglong>::max()}; },
         [](BusJukebox& j) { EXPECT_EQ(j.w->jukebox.songList().playingEntry(), 1); }},
        {"Seek by the smallest offset goes to the start",
         [](BusJukebox& j) {
             j.play(0);
             j.device(0).positionMs = 5000;
         },
         "Seek", [](BusJukebox&) { return QVariantList{std::numeric_limits<qlonglong>::min()}; },
         [](BusJukebox& j) { EXPECT_EQ(j.device(0).positionMs, 0); }},
        {"Seek of a stopped song does nothing", [](BusJukebox& j) { j.choose(0); }, "Seek",
         [](BusJukebox&) { return QVariantList{qlonglong{10'000'000}}; },
         [](BusJukebox& j) { EXPECT_TRUE(j.h.media.devices.empty()); }},
        {"SetPosition of another song does nothing", [](BusJukebox& j) { j.play(0); },
         "SetPosition",
         [](BusJukebox&) {
             return QVariantList{QVariant::fromValue(QDBusObjectPath("/melvo/track/2")),
                                 qlonglong{30'000'000}};
         },
         [](BusJukebox& j) { EXPECT_EQ(j.device(0).positionMs, 0); }},
        {"SetPosition of the playing song", [](BusJukebox& j) { j.play(0); }, "SetPosition",
         [](BusJukebox&) {
             return QVariantList{QVariant::fromValue(QDBusObjectPath("/melvo/track/1")),
                                 qlonglong{30'000'000}};
         },
         [](BusJukebox& j) { EXPECT_EQ(j.device(0).positionMs, 30'000); }},
        {"OpenUri adds a file as a drop does and plays it", nothing, "OpenUri",
         [](BusJukebox& j) {
             j.h.writeFile("new song.mp3", "");
             return QVariantList{
                 QUrl::fromLocalFile(QString::fromStdString(j.h.path("new song.mp3"))).toString()};
         },
         [](BusJukebox& j) {
             ASSERT_EQ(j.w->songListPanel->rows()->rowCount(), 4);
             EXPECT_EQ(j.w->songListPanel->rows()->title(3), "new song.mp3");
             EXPECT_EQ(j.w->jukebox.songList().playingEntry(), 3);
         }},
        {"OpenUri of no local MP3 adds nothing", nothing, "OpenUri",
         [](BusJukebox&) { return QVariantList{QStringLiteral("https://example.org/a.mp3")}; },
         [](BusJukebox& j) {
             EXPECT_EQ(j.w->songListPanel->rows()->rowCount(), 3);
             EXPECT_TRUE(j.h.media.devices.empty());
         },
         true},
        {"OpenUri of a relative path is refused", nothing, "OpenUri",
         [](BusJukebox&) { return QVariantList{QStringLiteral("file:a.mp3")}; },
         [](BusJukebox& j) { EXPECT_EQ(j.w->songListPanel->rows()->rowCount(), 3); }, true},
        {"Quit runs the exit", nothing, "Quit", nullptr,
         [](BusJukebox& j) {
             EXPECT_TRUE(j.w->exitStarted());
             EXPECT_EQ(j.h.programEnds, 1);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BusJukebox jukebox;
        ASSERT_TRUE(jukebox.published);
        c.before(jukebox);
        BusClient client(jukebox.mpris->serviceName());
        const QString method = QString::fromLatin1(c.method);
        const QString interface = method == "Quit" ? kRoot : kPlayer;
        const QDBusMessage reply =
            client.call(interface, method, c.arguments ? c.arguments(jukebox) : QVariantList{});
        EXPECT_EQ(reply.type(), c.refused ? QDBusMessage::ErrorMessage : QDBusMessage::ReplyMessage)
            << reply.errorMessage().toStdString();
        BusJukebox::settle();
        c.check(jukebox);
    }
}

TEST(Mpris, PropertiesFollowTheButtonsAndThePlayState) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    const struct {
        const char* name;
        std::function<void(BusJukebox&)> before;
        const char* status;
        bool canPlay, canPause, canSeek, canGoNext;
    } cases[] = {
        {"nothing chosen", [](BusJukebox&) {}, "Stopped", false, false, false, true},
        {"a song chosen", [](BusJukebox& j) { j.choose(0); }, "Stopped", true, false, false, true},
        {"playing", [](BusJukebox& j) { j.play(0); }, "Playing", true, true, true, true},
        {"paused",
         [](BusJukebox& j) {
             j.play(0);
             j.w->jukebox.pause();
         },
         "Paused", true, true, true, true},
        {"played to its end",
         [](BusJukebox& j) {
             j.play(0);
             j.h.media.finish(j.song(0));
             pollPosition(j.w->jukebox);
         },
         "Stopped", true, true, false, true},
        {"automatic play",
         [](BusJukebox& j) {
             j.w->jukebox.startAutoPlay();
             j.w->jukebox.superviseAutoPlay();
         },
         "Playing", true, true, true, true},
        {"every song deleted",
         [](BusJukebox& j) {
             for (int i = 2; i >= 0; --i) j.w->jukebox.deleteEntry(i);
         },
         "Stopped", false, false, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        BusJukebox jukebox;
        ASSERT_TRUE(jukebox.published);
        c.before(jukebox);
        BusJukebox::settle();
        BusClient client(jukebox.mpris->serviceName());
        EXPECT_EQ(client.get("PlaybackStatus").toString(), c.status);
        EXPECT_EQ(client.get("CanPlay").toBool(), c.canPlay);
        EXPECT_EQ(client.get("CanPause").toBool(), c.canPause);
        EXPECT_EQ(client.get("CanSeek").toBool(), c.canSeek);
        EXPECT_EQ(client.get("CanGoNext").toBool(), c.canGoNext);
        EXPECT_EQ(client.get("CanGoPrevious").toBool(), c.canGoNext);
        EXPECT_TRUE(client.get("CanControl").toBool());
    }
}

TEST(Mpris, ASecondJukeboxOnTheBusTakesAnInstanceName) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    BusJukebox jukebox;
    ASSERT_TRUE(jukebox.published);
    EXPECT_EQ(jukebox.mpris->serviceName(), "org.mpris.MediaPlayer2.melvo");

    // Another data folder's jukebox, with its own connection.
    {
        BusJukebox second(
            QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("second")));
        ASSERT_TRUE(second.published);
        EXPECT_EQ(second.mpris->serviceName(),
                  QStringLiteral("org.mpris.MediaPlayer2.melvo.instance%1")
                      .arg(QCoreApplication::applicationPid()));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("second"));
}

TEST(Mpris, MetadataNamesThePlayingSongWithItsTagsAndAnIdPerEntry) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    BusJukebox jukebox;
    ASSERT_TRUE(jukebox.published);
    // "b.mp3" gets an ID3v2.4 tag naming the artist and the album in UTF-8.
    std::string tag = "TPE1" + std::string("\0\0\0\x07\0\0\x03", 7) + "歌手";
    tag += "TALB" + std::string("\0\0\0\x04\0\0\x03", 7) + "盤";
    jukebox.h.writeFile(
        "b.mp3", "ID3\x04" + std::string("\0\0\0\0\0", 5) + static_cast<char>(tag.size()) + tag);
    BusClient client(jukebox.mpris->serviceName());
    EXPECT_EQ(client.metadata().value("mpris:trackid").value<QDBusObjectPath>().path(),
              "/org/mpris/MediaPlayer2/TrackList/NoTrack");

    jukebox.play(1);
    BusJukebox::settle();
    QVariantMap data = client.metadata();
    const QString id = data.value("mpris:trackid").value<QDBusObjectPath>().path();
    EXPECT_EQ(data.value("xesam:title").toString(), jukebox.w->songListPanel->rows()->title(1));
    EXPECT_EQ(
        data.value("xesam:url").toString(),
        QUrl::fromLocalFile(QString::fromStdString(jukebox.song(1))).toString(QUrl::FullyEncoded));
    EXPECT_EQ(data.value("mpris:length").toLongLong(), 215'040'000);
    EXPECT_EQ(data.value("xesam:artist").toStringList(), QStringList{"歌手"});
    EXPECT_EQ(data.value("xesam:album").toString(), "盤");

    // Each entry has its own id, which stays with it while an earlier entry goes.
    jukebox.w->jukebox.next();
    BusJukebox::settle();
    data = client.metadata();
    const QString nextId = data.value("mpris:trackid").value<QDBusObjectPath>().path();
    EXPECT_NE(nextId, id);
    EXPECT_FALSE(data.contains("xesam:artist"));
    jukebox.w->jukebox.deleteEntry(1);
    BusJukebox::settle();
    data = client.metadata();
    EXPECT_EQ(data.value("xesam:title").toString(), "c.mp3");
    EXPECT_EQ(data.value("mpris:trackid").value<QDBusObjectPath>().path(), nextId);
}

// A tag written on Japanese Windows: ID3v2.3 frames marked ISO-8859-1 that
// hold CP932, read right by default; the menu forces another reading.
TEST(Mpris, MetadataReadsJapaneseTagsRightAndTheMenuForcesAnEncoding) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    BusJukebox jukebox;
    ASSERT_TRUE(jukebox.published);
    const std::string band = "\x90\xc2\x8b\xf3\x83o\x83\x93\x83h";  // 青空バンド
    std::string tag = "TPE1" + std::string("\0\0\0\x0b\0\0\0", 7) + band;
    tag += "TIT2" + std::string("\0\0\0\x03\0\0\0", 7) + "\x88\xa4";  // 愛
    tag += "TRCK" + std::string("\0\0\0\x02\0\0\0", 7) + "7";
    jukebox.h.writeFile(
        "a.mp3", "ID3\x03" + std::string("\0\0\0\0\0", 5) + static_cast<char>(tag.size()) + tag);
    BusClient client(jukebox.mpris->serviceName());
    jukebox.play(0);
    BusJukebox::settle();
    QVariantMap data = client.metadata();
    EXPECT_EQ(data.value("xesam:artist").toStringList(), QStringList{"青空バンド"});
    EXPECT_EQ(data.value("xesam:title").toString(), "愛");
    EXPECT_EQ(data.value("xesam:trackNumber").toInt(), 7);

    jukebox.w->latin1TagEncodingMenuItem->trigger();
    BusJukebox::settle();
    EXPECT_TRUE(jukebox.w->latin1TagEncodingMenuItem->isChecked());
    EXPECT_FALSE(jukebox.w->automaticTagEncodingMenuItem->isChecked());
    EXPECT_EQ(jukebox.h.setting("TAG_ENCODING"), "2");
    EXPECT_EQ(client.metadata().value("xesam:title").toString(), "ˆ¤");
    // The list reads its songs' tags again in that encoding.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return jukebox.w->songListPanel->rows()->tagTitle(0) == "ˆ¤"; }));
}

TEST(Mpris, SettingAPropertyTicksTheBoxOrMovesTheSliderAsTheUserWould) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    const struct {
        const char* property;
        QVariant value;
        bool repeat, random;
        double volumeShare;  // of the slider's range; negative: the volume stays
    } cases[] = {
        {"LoopStatus", QStringLiteral("Track"), true, false, -1},
        {"LoopStatus", QStringLiteral("Playlist"), false, false, -1},
        {"Shuffle", true, false, true, -1},
        {"Volume", 0.5, false, false, 0.5},
        {"Volume", 1.5, false, false, 1.0},
        {"Volume", std::nan(""), false, false, -1},
        {"Volume", -std::numeric_limits<double>::infinity(), false, false, -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.property) + " " + c.value.toString().toStdString());
        BusJukebox jukebox;
        ASSERT_TRUE(jukebox.published);
        jukebox.choose(1);
        const QSlider* slider = jukebox.w->volumeSlider;
        const int sliderBefore = slider->value();
        BusClient client(jukebox.mpris->serviceName());
        client.set(c.property, c.value);
        BusJukebox::settle();
        EXPECT_EQ(jukebox.w->repeatBox->isChecked(), c.repeat);
        EXPECT_EQ(jukebox.w->jukebox.transport().repeat(), c.repeat);
        EXPECT_EQ(jukebox.w->randomOrderBox->isChecked(), c.random);
        EXPECT_EQ(jukebox.w->jukebox.autoPlay().randomOrder(), c.random);
        EXPECT_EQ(client.get("LoopStatus").toString(), c.repeat ? "Track" : "None");
        EXPECT_EQ(client.get("Shuffle").toBool(), c.random);
        if (c.volumeShare < 0) {
            EXPECT_EQ(slider->value(), sliderBefore);
            continue;
        }
        // The volume is the user's: it goes to the master volume and stays with the song.
        const int span = slider->maximum() - slider->minimum();
        const int expected =
            slider->minimum() + static_cast<int>(std::lround(c.volumeShare * span));
        EXPECT_EQ(slider->value(), expected);
        EXPECT_EQ(jukebox.h.mixer.volume, mixerValueFor(expected));
        EXPECT_EQ(jukebox.w->jukebox.songList().entries().entry(1),
                  jukebox.song(1) + "," + blankLedNumber(expected));
        EXPECT_NEAR(client.get("Volume").toDouble(), c.volumeShare, 1.0 / span);
    }
}

// Waits up to five seconds, running the event loop, until done says so.
bool waitFor(const std::function<bool()>& done) {
    for (int waited = 0; waited < 5000 && !done(); waited += 10) QTest::qWait(10);
    return done();
}

// What a client hears of the jukebox's signals.
class Listener : public QObject {
    Q_OBJECT

  public:
    Listener(BusClient& client, const QString& service) {
        client.bus().connect(service, kPath, kProperties, QStringLiteral("PropertiesChanged"), this,
                             SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        client.bus().connect(service, kPath, kPlayer, QStringLiteral("Seeked"), this,
                             SLOT(seeked(qlonglong)));
    }
    // The value of the property as last announced; invalid when it was not.
    QVariant last(const QString& property) const {
        for (auto change = changes.rbegin(); change != changes.rend(); ++change) {
            if (change->contains(property)) return change->value(property);
        }
        return {};
    }

    std::vector<QVariantMap> changes;
    std::vector<qlonglong> seeks;

  public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed,
                           const QStringList&) {
        if (interface == kPlayer) changes.push_back(changed);
    }
    void seeked(qlonglong position) { seeks.push_back(position); }
};

TEST(Mpris, ChangesAreAnnouncedAsTheyHappenButThePositionIsNot) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    BusJukebox jukebox;
    ASSERT_TRUE(jukebox.published);
    BusClient client(jukebox.mpris->serviceName());
    Listener listener(client, jukebox.mpris->serviceName());
    const auto announced = [&listener](const char* property, const QVariant& value) {
        return waitFor([&] { return listener.last(property) == value; });
    };

    jukebox.play(0);
    EXPECT_TRUE(announced("PlaybackStatus", "Playing"));
    EXPECT_TRUE(announced("CanSeek", true));
    EXPECT_TRUE(listener.last("Metadata").isValid());

    // A second of playing, ten position ticks, announces nothing.
    listener.changes.clear();
    for (int tick = 0; tick < 10; ++tick) {
        jukebox.device(0).positionMs += 100;
        QTest::qWait(100);
    }
    EXPECT_EQ(jukebox.w->positionLabel->text(), "1.0");
    EXPECT_TRUE(listener.changes.empty());

    jukebox.w->jukebox.pause();
    EXPECT_TRUE(announced("PlaybackStatus", "Paused"));
    jukebox.w->repeatBox->setChecked(true);
    EXPECT_TRUE(announced("LoopStatus", "Track"));
    jukebox.w->randomOrderBox->setChecked(true);
    EXPECT_TRUE(announced("Shuffle", true));

    // A move of the position bar is a seek, which goes on from the pause.
    jukebox.w->positionBar->setValue(20);
    EXPECT_TRUE(waitFor([&] { return !listener.seeks.empty(); }));
    EXPECT_EQ(listener.seeks, std::vector<qlonglong>{20'000'000});
    EXPECT_TRUE(announced("PlaybackStatus", "Playing"));

    // A song played to its end starts again under repeat, which is heard as
    // a seek to its start; without repeat it is noticed as stopped.
    jukebox.h.media.finish(jukebox.song(0));
    EXPECT_TRUE(waitFor([&] { return listener.seeks.size() == 2; }));
    EXPECT_EQ(listener.seeks.back(), 0);
    jukebox.w->repeatBox->setChecked(false);
    jukebox.h.media.finish(jukebox.song(0));
    EXPECT_TRUE(announced("PlaybackStatus", "Stopped"));
    EXPECT_TRUE(announced("CanSeek", false));
}

// A call is answered before anything it leads to is told to the user, and a
// flood of calls is refused beyond a steady few a second, each at once.
TEST(Mpris, CallsAreAnsweredAtOnceAndAFloodIsRefused) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    BusJukebox jukebox;
    ASSERT_TRUE(jukebox.published);
    const std::string unlistable = jukebox.h.path("two\nlines.mp3");
    std::ofstream(unlistable) << "ID3";
    EXPECT_TRUE(jukebox.mpris->openUri(QString::fromLatin1(
        "file://" + QByteArray::fromStdString(unlistable).toPercentEncoding("/"))));
    EXPECT_TRUE(jukebox.h.dialogs.messages.empty()) << "the caller has its answer first";
    BusJukebox::settle();
    EXPECT_EQ(jukebox.h.dialogs.messages.size(), 1u);
    EXPECT_EQ(jukebox.w->songListPanel->rows()->rowCount(), 3);

    jukebox.play(0);
    BusClient client(jukebox.mpris->serviceName());
    std::vector<QDBusPendingCall> calls;
    for (int i = 0; i < 200; ++i) {
        calls.push_back(client.bus().asyncCall(QDBusMessage::createMethodCall(
            jukebox.mpris->serviceName(), kPath, kPlayer, QStringLiteral("Next"))));
    }
    ASSERT_TRUE(waitFor([&] {
        return std::all_of(calls.begin(), calls.end(),
                           [](auto& call) { return call.isFinished(); });
    }));
    const auto taken =
        std::count_if(calls.begin(), calls.end(), [](auto& call) { return !call.isError(); });
    EXPECT_GE(taken, 10);
    EXPECT_LE(taken, 40);
    EXPECT_EQ(calls.back().error().type(), QDBusError::LimitsExceeded);
}

TEST(Mpris, WithoutABusTheJukeboxRunsAsBefore) {
    WindowHarness h;
    MainWindow& w = h.start();
    WindowHost host(w);
    Mpris mpris(w.jukebox, host);
    EXPECT_FALSE(mpris.publish(QDBusConnection::connectToBus(
        QStringLiteral("unix:path=/nonexistent/melvo-bus"), QStringLiteral("noBus"))));
    EXPECT_TRUE(mpris.serviceName().isEmpty());
    QDBusConnection::disconnectFromBus(QStringLiteral("noBus"));

    h.writeFile("a.mp3", "");
    w.jukebox.addSongFiles({h.path("a.mp3")});
    w.jukebox.chooseEntry(0);
    w.jukebox.play();
    EXPECT_EQ(h.media.devices[h.path("a.mp3")].mode, MediaMode::Playing);
    QTest::qWait(150);
    EXPECT_EQ(w.playModeLabel->text(), "PLAYING");
}

// Runs playerctl on the jukebox while this thread's event loop answers it;
// its standard output, trimmed.
QString playerctl(const QString& player, const QStringList& arguments) {
    QProcess process;
    QSignalSpy finished(&process, &QProcess::finished);
    process.start(QStringLiteral("playerctl"), QStringList{"-p", player} + arguments);
    if (!finished.wait(10000)) process.kill();
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

// The lines a following playerctl printed, without repeats of the same line.
QStringList followedLines(QProcess& follow, QStringList& lines) {
    for (const QString& line : QString::fromUtf8(follow.readAllStandardOutput()).split('\n')) {
        if (!line.isEmpty() && (lines.isEmpty() || lines.back() != line)) lines.push_back(line);
    }
    return lines;
}

TEST(Mpris, PlayerctlDrivesTheWindowAndFollowsItWithoutPolling) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    REQUIRE_OR_SKIP(!QStandardPaths::findExecutable(QStringLiteral("playerctl")).isEmpty(),
                    "playerctl is not installed (tools/install-deps.sh --test)");
    BusJukebox jukebox;
    ASSERT_TRUE(jukebox.published);
    MainWindow& w = *jukebox.w;
    const QString player =
        jukebox.mpris->serviceName().mid(QStringLiteral("org.mpris.MediaPlayer2.").size());
    jukebox.choose(0);

    EXPECT_EQ(playerctl(player, {"status"}), "Stopped");
    playerctl(player, {"play-pause"});
    EXPECT_TRUE(waitFor([&] { return w.playModeLabel->text() == "PLAYING"; }));
    EXPECT_EQ(w.songListPanel->rows()->markText(0), "♪♪");
    EXPECT_EQ(playerctl(player, {"status"}), "Playing");

    playerctl(player, {"next"});
    EXPECT_EQ(w.songListPanel->rows()->markText(1), "♪♪");
    EXPECT_EQ(w.songListPanel->selectedRow(), 1);
    EXPECT_EQ(playerctl(player, {"metadata", "xesam:title"}), w.songListPanel->rows()->title(1));

    jukebox.device(1).positionMs = 12'300;
    EXPECT_TRUE(waitFor([&] { return w.positionLabel->text() == "12.3"; }));
    // playerctl adds the time since it read the position.
    EXPECT_NEAR(playerctl(player, {"position"}).toDouble(), 12.3, 0.05);

    playerctl(player, {"loop", "Track"});
    EXPECT_TRUE(w.repeatBox->isChecked());
    playerctl(player, {"shuffle", "On"});
    EXPECT_TRUE(w.randomOrderBox->isChecked());

    // A following playerctl hears each change of the play state as it happens.
    QProcess follow;
    follow.start(QStringLiteral("playerctl"), {"-p", player, "--follow", "status"});
    QStringList lines;
    EXPECT_TRUE(waitFor([&] { return followedLines(follow, lines) == QStringList{"Playing"}; }));
    playerctl(player, {"play-pause"});
    EXPECT_TRUE(highlighted(w.pauseButton));
    playerctl(player, {"play-pause"});
    EXPECT_TRUE(highlighted(w.resumeButton));
    EXPECT_TRUE(waitFor([&] {
        return followedLines(follow, lines) == QStringList{"Playing", "Paused", "Playing"};
    })) << lines.join(' ').toStdString();
    follow.kill();
    follow.waitForFinished();
}

// The desktop's notification service, on a connection of its own.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

  public:
    NotificationServer() : bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, "n")) {
        bus_.registerObject("/org/freedesktop/Notifications", this,
                            QDBusConnection::ExportAllSlots);
        bus_.registerService("org.freedesktop.Notifications");
    }
    ~NotificationServer() override { QDBusConnection::disconnectFromBus("n"); }

    struct Shown {
        uint replaces;
        QString summary, body;
        QVariantMap hints;
    };
    std::vector<Shown> shown;

  public slots:
    uint Notify(const QString&, uint replaces, const QString&, const QString& summary,
                const QString& body, const QStringList&, const QVariantMap& hints, int) {
        shown.push_back({replaces, summary, body, hints});
        return 40 + static_cast<uint>(shown.size());
    }

  private:
    QDBusConnection bus_;
};

TEST(Mpris, EachSongStartIsNotifiedWithItsPictureUnlessTheWindowIsActiveOrNoticesAreOff) {
    REQUIRE_OR_SKIP(sessionBusAnswers(), kNoBus);
    NotificationServer server;
    BusJukebox jukebox;
    bool windowActive = false;
    const SongNotifier notifier(
        jukebox.w->jukebox, [&] { return windowActive; }, QDBusConnection::sessionBus());
    // "b.mp3" carries a picture and a title; "c.mp3" has a cover beside it.
    const std::string picture = std::string("\0image/png\0\x03\0", 13) + "PNG!";
    std::string tag = "TIT2" + std::string("\0\0\0\x07\0\0\x03", 7) + "青空";
    tag += "APIC" + std::string("\0\0\0", 3) + static_cast<char>(picture.size()) +
           std::string(2, '\0') + picture;
    jukebox.h.writeFile(
        "b.mp3", "ID3\x04" + std::string("\0\0\0\0\0", 5) + static_cast<char>(tag.size()) + tag);
    jukebox.h.writeFile("cover.jpg", "JPEG");
    BusClient client(jukebox.mpris->serviceName());

    jukebox.play(1);
    QTest::qWait(300);
    ASSERT_EQ(server.shown.size(), 1u);
    EXPECT_EQ(server.shown[0].summary, "青空");
    const QString art = server.shown[0].hints.value("image-path").toString();
    EXPECT_TRUE(art.startsWith("file://") && art.endsWith(".png")) << art.toStdString();
    QFile written(QUrl(art).toLocalFile());
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "PNG!");
    EXPECT_EQ(client.metadata().value("mpris:artUrl").toString(), art);

    jukebox.w->jukebox.next();  // a cover beside the song; it replaces the last notice
    QTest::qWait(300);
    ASSERT_EQ(server.shown.size(), 2u);
    EXPECT_EQ(server.shown[1].replaces, 41u);
    EXPECT_EQ(server.shown[1].summary, "c.mp3");
    EXPECT_EQ(
        server.shown[1].hints.value("image-path").toString(),
        QString::fromLatin1(
            QUrl::fromLocalFile(QString::fromStdString(jukebox.h.path("cover.jpg"))).toEncoded()));

    windowActive = true;
    jukebox.play(0);
    jukebox.w->songNoticeMenuItem->trigger();  // off
    windowActive = false;
    jukebox.play(1);
    QTest::qWait(300);
    EXPECT_EQ(server.shown.size(), 2u);
    EXPECT_EQ(jukebox.h.setting("SONG_NOTICE"), "0");
}

}  // namespace
}  // namespace melvo::test

#include "MprisTest.moc"
