// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "desktop/mpris/Mpris.h"

#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/common/FileNames.h"
#include "core/jukebox/Jukebox.h"
#include "core/tags/NowPlaying.h"

namespace melvo {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.melvo");
constexpr double kMicroseconds = 1e6;
constexpr double kCallsPerSecond = 20;
constexpr double kBurst = 20;

// The nearest whole second of the position bar.
int wholeSeconds(std::int64_t microseconds) {
    return static_cast<int>(std::llround(static_cast<double>(microseconds) / kMicroseconds));
}

}  // namespace

// The D-Bus face of org.mpris.MediaPlayer2. Method and property names are the
// interface's own.
class MprisRoot : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ uriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ mimeTypes)

  public:
    explicit MprisRoot(Mpris& mpris) : QDBusAbstractAdaptor(&mpris), mpris_(mpris) {}
    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const { return QStringLiteral("Melvo"); }
    QString desktopEntry() const { return QStringLiteral(MELVO_APP_ID); }
    QStringList uriSchemes() const { return {QStringLiteral("file")}; }
    QStringList mimeTypes() const { return {QStringLiteral("audio/mpeg")}; }

  public slots:
    void Raise() { mpris_.raise(); }
    void Quit() { mpris_.quit(); }

  private:
    Mpris& mpris_;
};

// The D-Bus face of org.mpris.MediaPlayer2.Player. The jukebox plays at its
// one rate only.
class MprisPlayer : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(QString LoopStatus READ loopStatus WRITE setLoopStatus)
    Q_PROPERTY(bool Shuffle READ shuffle WRITE setShuffle)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(double Rate READ rate)
    Q_PROPERTY(double MinimumRate READ rate)
    Q_PROPERTY(double MaximumRate READ rate)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ canControl)

  public:
    explicit MprisPlayer(Mpris& mpris) : QDBusAbstractAdaptor(&mpris), mpris_(mpris) {}
    QString playbackStatus() const { return mpris_.playbackStatus(); }
    QString loopStatus() const { return mpris_.loopStatus(); }
    void setLoopStatus(const QString& status) {
        if (mpris_.admit()) mpris_.setLoopStatus(status);
    }
    bool shuffle() const { return mpris_.shuffle(); }
    void setShuffle(bool on) {
        if (mpris_.admit()) mpris_.setShuffle(on);
    }
    double volume() const { return mpris_.volume(); }
    void setVolume(double volume) {
        if (mpris_.admit()) mpris_.setVolume(volume);
    }
    double rate() const { return 1.0; }
    QVariantMap metadata() const { return mpris_.metadata(); }
    qlonglong position() const { return mpris_.position(); }
    bool canGoNext() const { return mpris_.canGoNext(); }
    bool canGoPrevious() const { return mpris_.canGoPrevious(); }
    bool canPlay() const { return mpris_.canPlay(); }
    bool canPause() const { return mpris_.canPause(); }
    bool canSeek() const { return mpris_.canSeek(); }
    bool canControl() const { return true; }

  public slots:
    void PlayPause() {
        if (admitted()) mpris_.playPause();
    }
    void Play() {
        if (admitted()) mpris_.play();
    }
    void Pause() {
        if (admitted()) mpris_.pause();
    }
    void Stop() {
        if (admitted()) mpris_.stop();
    }
    void Next() {
        if (admitted()) mpris_.next();
    }
    void Previous() {
        if (admitted()) mpris_.previous();
    }
    void Seek(qlonglong Offset) {
        if (admitted()) mpris_.seek(Offset);
    }
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
        if (admitted()) mpris_.setPosition(TrackId, Position);
    }
    void OpenUri(const QString& Uri) {
        if (admitted() && !mpris_.openUri(Uri))
            mpris_.refuse(QDBusError::InvalidArgs,
                          QStringLiteral("Only absolute file:// URIs are opened"));
    }

  signals:
    void Seeked(qlonglong Position);

  private:
    bool admitted() {
        if (mpris_.admit()) return true;
        mpris_.refuse(QDBusError::LimitsExceeded,
                      QStringLiteral("Too many calls; try again shortly"));
        return false;
    }

    Mpris& mpris_;
};

Mpris::Mpris(Jukebox& jukebox, MprisHost& host)
    : jukebox_(jukebox), host_(host), player_(new MprisPlayer(*this)), bus_(QString()) {
    new MprisRoot(*this);
    clock_.start();
    tokens_ = kBurst;
    entryIds_.resize(static_cast<size_t>(jukebox_.songList().count()));
    for (std::uint64_t& id : entryIds_) id = nextEntryId_++;
    follow();
}

Mpris::~Mpris() {
    if (serviceName_.isEmpty()) return;
    bus_.unregisterService(serviceName_);
    bus_.unregisterObject(kObjectPath);
}

bool Mpris::publish(const QDBusConnection& bus) {
    if (!bus.isConnected()) return false;
    bus_ = bus;
    if (!bus_.registerObject(kObjectPath, this, QDBusConnection::ExportAdaptors)) return false;
    for (const QString& name :
         {kServiceName,
          kServiceName + QStringLiteral(".instance%1").arg(QCoreApplication::applicationPid())}) {
        if (bus_.registerService(name)) {
            serviceName_ = name;
            announced_ = announcedProperties();
            return true;
        }
    }
    bus_.unregisterObject(kObjectPath);
    return false;
}

// A command may change several properties through several signals, so the
// properties are compared once all of them have been followed.
void Mpris::follow() {
    const SongList& songs = jukebox_.songList();
    const Transport& transport = jukebox_.transport();
    for (auto changed : {&Transport::songPaused, &Transport::songResumed, &Transport::songEnded}) {
        connect(&transport, changed, this, &Mpris::scheduleAnnouncement);
    }
    connect(&jukebox_, &Jukebox::songStopped, this, &Mpris::scheduleAnnouncement);
    connect(&jukebox_, &Jukebox::controlsChanged, this, &Mpris::scheduleAnnouncement);
    connect(&transport, &Transport::repeatChanged, this, &Mpris::scheduleAnnouncement);
    connect(&jukebox_.autoPlay(), &AutoPlay::randomOrderChanged, this,
            &Mpris::scheduleAnnouncement);
    connect(&jukebox_.volume(), &Volume::levelChanged, this, &Mpris::scheduleAnnouncement);
    connect(&songs, &SongList::playingEntryChanged, this, &Mpris::scheduleAnnouncement);
    connect(&songs, &SongList::songChosen, this, &Mpris::scheduleAnnouncement);
    connect(&transport, &Transport::songLengthKnown, this, [this](double seconds) {
        lengthPath_ = jukebox_.transport().currentPath();
        lengthSeconds_ = seconds;
        scheduleAnnouncement();
    });
    // The core reads the tags as a song starts, not while it plays.
    connect(&jukebox_.nowPlaying(), &NowPlaying::changed, this, &Mpris::scheduleAnnouncement);
    connect(&songs, &SongList::songsAdded, this, [this](const std::vector<std::string>& paths) {
        for (size_t i = 0; i < paths.size(); ++i) entryIds_.push_back(nextEntryId_++);
        scheduleAnnouncement();
    });
    connect(&songs, &SongList::entryDeleted, this, [this](int index) {
        entryIds_.erase(entryIds_.begin() + index);
        scheduleAnnouncement();
    });
    connect(&transport, &Transport::songSeeked, this, [this](int seconds) {
        emit player_->Seeked(static_cast<qlonglong>(seconds * kMicroseconds));
        scheduleAnnouncement();
    });
    // The position ticks ten times a second; only a change of the play state
    // that no other signal tells (a song played to its end, a seek that goes
    // on from a pause) is announced from it.
    connect(&transport, &Transport::positionChanged, this, [this](double, MediaMode mode) {
        if (statusOf(mode) != announced_.value(QStringLiteral("PlaybackStatus")).toString()) {
            scheduleAnnouncement();
        }
    });
}

// Nothing is compared while no client can hear it.
void Mpris::scheduleAnnouncement() {
    if (serviceName_.isEmpty() || std::exchange(announcementPending_, true)) return;
    QMetaObject::invokeMethod(this, &Mpris::announceChanges, Qt::QueuedConnection);
}

void Mpris::announceChanges() {
    announcementPending_ = false;
    const QVariantMap now = announcedProperties();
    QVariantMap changed;
    for (auto property = now.begin(); property != now.end(); ++property) {
        if (announced_.value(property.key()) != property.value()) {
            changed.insert(property.key(), property.value());
        }
    }
    announced_ = now;
    if (changed.isEmpty()) return;
    QDBusMessage signal =
        QDBusMessage::createSignal(kObjectPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                   QStringLiteral("PropertiesChanged"));
    signal << kPlayerInterface << changed << QStringList();
    bus_.send(signal);
}

QVariantMap Mpris::announcedProperties() const {
    return {{QStringLiteral("PlaybackStatus"), playbackStatus()},
            {QStringLiteral("LoopStatus"), loopStatus()},
            {QStringLiteral("Shuffle"), shuffle()},
            {QStringLiteral("Volume"), volume()},
            {QStringLiteral("Metadata"), metadata()},
            {QStringLiteral("CanGoNext"), canGoNext()},
            {QStringLiteral("CanGoPrevious"), canGoPrevious()},
            {QStringLiteral("CanPlay"), canPlay()},
            {QStringLiteral("CanPause"), canPause()},
            {QStringLiteral("CanSeek"), canSeek()}};
}

void Mpris::raise() { host_.raise(); }

// The exit runs after the reply, since it ends the process.
void Mpris::quit() {
    QTimer::singleShot(0, this, [this] { host_.quit(); });
}

void Mpris::playPause() {
    if (playbackStatus() == QLatin1String("Playing")) {
        pause();
    } else {
        play();
    }
}

// Resumes a paused song, as the resume button does, or plays the chosen one,
// as the play button does; a song that plays goes on.
void Mpris::play() {
    if (!canPlay()) return;
    const QString status = playbackStatus();
    if (status == QLatin1String("Paused")) {
        jukebox_.resume();
    } else if (status == QLatin1String("Stopped")) {
        jukebox_.play();
    }
}

void Mpris::pause() {
    if (canPause() && playbackStatus() == QLatin1String("Playing")) jukebox_.pause();
}

void Mpris::stop() {
    if (jukebox_.controls().stop) jukebox_.stop();
}

void Mpris::next() {
    if (canGoNext()) jukebox_.next();
}

void Mpris::previous() {
    if (canGoPrevious()) jukebox_.previous();
}

// A seek past the end goes to the next song, one before the start to the start.
void Mpris::seek(std::int64_t offset) {
    if (!canSeek()) return;
    std::int64_t target = 0;
    if (__builtin_add_overflow(position(), offset, &target)) {
        target = offset > 0 ? std::numeric_limits<std::int64_t>::max() : 0;
    }
    target = std::max<std::int64_t>(0, target);
    if (target > lengthOf(trackPath())) {
        next();
    } else {
        jukebox_.seek(wholeSeconds(target));
    }
}

void Mpris::setPosition(const QDBusObjectPath& track, std::int64_t position) {
    if (!canSeek() || track != trackId(trackEntry()) || position < 0 ||
        position > lengthOf(trackPath())) {
        return;
    }
    jukebox_.seek(wholeSeconds(position));
}

// The song is added and played after the answer has gone, so a message the
// adding shows never holds the caller.
bool Mpris::openUri(const QString& uri) {
    const QUrl url(uri);
    if (!url.isLocalFile() || !url.path().startsWith(u'/') ||
        !(url.host().isEmpty() || url.host() == QLatin1String("localhost")))
        return false;
    const std::optional<std::string> path = pathFromUrl(url);
    if (!path) return false;
    QTimer::singleShot(0, this, [this, song = *path] {
        if (jukebox_.addSongFiles({song}) > 0) jukebox_.playEntry(jukebox_.songList().count() - 1);
    });
    return true;
}

void Mpris::refuse(QDBusError::ErrorType type, const QString& why) const {
    if (calledFromDBus()) sendErrorReply(type, why);
}

// A few commands a second are plenty for any desktop; a flood beyond that is
// refused at once instead of queuing minutes of work for the window.
bool Mpris::admit() {
    const qint64 now = clock_.elapsed();
    tokens_ = std::min(kBurst, tokens_ + (now - lastRefill_) * kCallsPerSecond / 1000.0);
    lastRefill_ = now;
    if (tokens_ < 1.0) return false;
    tokens_ -= 1.0;
    return true;
}

QString Mpris::statusOf(MediaMode mode) const {
    switch (mode) {
        case MediaMode::Playing:
            return QStringLiteral("Playing");
        case MediaMode::Paused:
            return QStringLiteral("Paused");
        case MediaMode::Stopped:
        case MediaMode::Closed:
            break;
    }
    return QStringLiteral("Stopped");
}

QString Mpris::playbackStatus() const { return statusOf(jukebox_.transport().mode()); }

std::int64_t Mpris::position() const {
    return static_cast<std::int64_t>(jukebox_.transport().position() * kMicroseconds);
}

int Mpris::trackEntry() const {
    const SongList& songs = jukebox_.songList();
    if (songs.playingEntry() >= 0) return songs.playingEntry();
    return songs.chosenPath().empty() ? -1 : songs.current();
}

std::string Mpris::trackPath() const {
    const int entry = trackEntry();
    return entry < 0 ? std::string() : jukebox_.songList().path(entry);
}

QDBusObjectPath Mpris::trackId(int entry) const {
    if (entry < 0)
        return QDBusObjectPath(QStringLiteral("/org/mpris/MediaPlayer2/TrackList/NoTrack"));
    return QDBusObjectPath(
        QStringLiteral("/melvo/track/%1").arg(entryIds_.at(static_cast<size_t>(entry))));
}

// The length in microseconds, when it was measured as the song was played.
std::int64_t Mpris::lengthOf(const std::string& path) const {
    return path == lengthPath_ ? static_cast<std::int64_t>(lengthSeconds_ * kMicroseconds) : 0;
}

QVariantMap Mpris::metadata() const {
    const int entry = trackEntry();
    QVariantMap data{{QStringLiteral("mpris:trackid"), QVariant::fromValue(trackId(entry))}};
    if (entry < 0) return data;
    const std::string path = trackPath();
    data.insert(QStringLiteral("xesam:url"), fileUrl(path));
    if (const std::int64_t length = lengthOf(path); length > 0) {
        data.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(length));
    }
    const NowPlaying& playing = jukebox_.nowPlaying();
    const SongInfo tags = path == playing.path() ? playing.info() : SongInfo{};
    data.insert(QStringLiteral("xesam:title"), tags.title.empty()
                                                   ? songTitle(displayPath(path))
                                                   : QString::fromStdString(tags.title));
    const auto insertText = [&data](const char* key, const std::string& text, bool list) {
        if (text.empty()) return;
        const QString value = QString::fromStdString(text);
        data.insert(QLatin1String(key), list ? QVariant(QStringList{value}) : QVariant(value));
    };
    insertText("xesam:artist", tags.artist, true);
    insertText("xesam:album", tags.album, false);
    insertText("xesam:albumArtist", tags.albumArtist, true);
    if (tags.trackNumber > 0) data.insert(QStringLiteral("xesam:trackNumber"), tags.trackNumber);
    if (path == playing.path() && !playing.artFile().empty()) {
        data.insert(QStringLiteral("mpris:artUrl"), fileUrl(playing.artFile()));
    }
    return data;
}

QString Mpris::loopStatus() const {
    return jukebox_.transport().repeat() ? QStringLiteral("Track") : QStringLiteral("None");
}

// The jukebox repeats one song or none; a whole-list loop is no setting of it.
void Mpris::setLoopStatus(const QString& status) {
    if (status == QLatin1String("Track") || status == QLatin1String("None")) {
        jukebox_.setRepeat(status == QLatin1String("Track"));
    }
}

bool Mpris::shuffle() const { return jukebox_.autoPlay().randomOrder(); }

void Mpris::setShuffle(bool on) { jukebox_.setRandomOrder(on); }

double Mpris::volume() const {
    const auto [minimum, maximum] = jukebox_.volume().range();
    const int span = maximum - minimum;
    return span > 0 ? static_cast<double>(jukebox_.volume().level() - minimum) / span : 0.0;
}

// The same as the user moving the main volume slider there. A value that is
// no number is no volume.
void Mpris::setVolume(double volume) {
    if (!std::isfinite(volume)) return;
    const auto [minimum, maximum] = jukebox_.volume().range();
    const double share = std::clamp(volume, 0.0, 1.0);
    jukebox_.setSongVolume(minimum + static_cast<int>(std::lround(share * (maximum - minimum))));
}

bool Mpris::canGoNext() const { return jukebox_.controls().next; }

bool Mpris::canGoPrevious() const { return jukebox_.controls().previous; }

// A song that plays can always be played (clients then offer PlayPause, which
// pauses it). Otherwise Play resumes a paused song while resuming may be done,
// or plays the chosen one while playing may be done; without a chosen song
// play would only ask the user to choose one.
bool Mpris::canPlay() const {
    const QString status = playbackStatus();
    if (status == QLatin1String("Playing")) return true;
    if (status == QLatin1String("Paused")) return jukebox_.controls().resume;
    return jukebox_.controls().play && !jukebox_.songList().chosenPath().empty();
}

bool Mpris::canPause() const { return jukebox_.controls().pause; }

// Only an open song can be moved in.
bool Mpris::canSeek() const { return playbackStatus() != QLatin1String("Stopped"); }

}  // namespace melvo

#include "Mpris.moc"
