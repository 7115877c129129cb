#include "app/Mpris.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDBusAbstractAdaptor>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTimer>
#include <QUrl>
#include <algorithm>
#include <cmath>

#include "app/MainWindow.h"
#include "library/SongListModel.h"
#include "volume/SliderClicks.h"

namespace melvo {

namespace {

const QString kObjectPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayerInterface = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kServiceName = QStringLiteral("org.mpris.MediaPlayer2.melvo");
constexpr double kMicroseconds = 1e6;

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
    void setLoopStatus(const QString& status) { mpris_.setLoopStatus(status); }
    bool shuffle() const { return mpris_.shuffle(); }
    void setShuffle(bool on) { mpris_.setShuffle(on); }
    double volume() const { return mpris_.volume(); }
    void setVolume(double volume) { mpris_.setVolume(volume); }
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
    void PlayPause() { mpris_.playPause(); }
    void Play() { mpris_.play(); }
    void Pause() { mpris_.pause(); }
    void Stop() { mpris_.stop(); }
    void Next() { mpris_.next(); }
    void Previous() { mpris_.previous(); }
    void Seek(qlonglong Offset) { mpris_.seek(Offset); }
    void SetPosition(const QDBusObjectPath& TrackId, qlonglong Position) {
        mpris_.setPosition(TrackId, Position);
    }
    void OpenUri(const QString& Uri) { mpris_.openUri(Uri); }

  signals:
    void Seeked(qlonglong Position);

  private:
    Mpris& mpris_;
};

Mpris::Mpris(MainWindow& window)
    : window_(window), player_(new MprisPlayer(*this)), bus_(QString()) {
    new MprisRoot(*this);
    entryIds_.resize(static_cast<size_t>(window_.jukebox.entries().count()));
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

// What the window shows changes only after the core's signals have been
// followed, so the properties are compared once the window has redrawn.
void Mpris::follow() {
    Jukebox& jukebox = window_.jukebox;
    for (auto changed : {&Jukebox::songPaused, &Jukebox::songResumed, &Jukebox::songStopped,
                         &Jukebox::songEnded}) {
        connect(&jukebox, changed, this, &Mpris::scheduleAnnouncement);
    }
    connect(&jukebox, &Jukebox::playingEntryChanged, this, &Mpris::scheduleAnnouncement);
    connect(&jukebox, &Jukebox::songChosen, this, &Mpris::scheduleAnnouncement);
    connect(&jukebox, &Jukebox::songLengthKnown, this, [this](double seconds) {
        lengthPath_ = window_.jukebox.chosenPath();
        lengthSeconds_ = seconds;
        scheduleAnnouncement();
    });
    // The tags are read as a song starts, not while it plays.
    connect(&jukebox, &Jukebox::songStarted, this, [this](int index) {
        const std::string path(entryPath(window_.jukebox.entries().entry(index)));
        if (path == tagsPath_) return scheduleAnnouncement();
        tags_ = readSongTags(path);
        tagsPath_ = path;
        scheduleAnnouncement();
    });
    connect(&jukebox, &Jukebox::songsAdded, this, [this](const std::vector<std::string>& paths) {
        for (size_t i = 0; i < paths.size(); ++i) entryIds_.push_back(nextEntryId_++);
        scheduleAnnouncement();
    });
    connect(&jukebox, &Jukebox::entryDeleted, this, [this](int index) {
        entryIds_.erase(entryIds_.begin() + index);
        scheduleAnnouncement();
    });
    connect(&jukebox, &Jukebox::songSeeked, this, [this](int seconds) {
        emit player_->Seeked(static_cast<qlonglong>(seconds * kMicroseconds));
        scheduleAnnouncement();
    });
    // The position ticks ten times a second; only a change of the play state
    // that no other signal tells (a song played to its end, a seek that goes
    // on from a pause) is announced from it.
    connect(&jukebox, &Jukebox::positionChanged, this, [this](double, MediaMode mode) {
        if (statusOf(mode) != announced_.value(QStringLiteral("PlaybackStatus")).toString()) {
            scheduleAnnouncement();
        }
    });
    connect(window_.repeatBox, &QCheckBox::toggled, this, &Mpris::scheduleAnnouncement);
    connect(window_.randomOrderBox, &QCheckBox::toggled, this, &Mpris::scheduleAnnouncement);
    connect(window_.volumeSlider, &QSlider::valueChanged, this, &Mpris::scheduleAnnouncement);
    // The Can* properties follow the buttons' enabled states.
    for (QWidget* control : std::initializer_list<QWidget*>{
             window_.playButton, window_.pauseButton, window_.resumeButton, window_.stopButton,
             window_.nextSongButton, window_.previousSongButton, window_.positionBar}) {
        control->installEventFilter(this);
    }
}

bool Mpris::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::EnabledChange) scheduleAnnouncement();
    return QObject::eventFilter(watched, event);
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

void Mpris::raise() { window_.bringToFront(); }

// The exit runs after the reply, since it ends the process.
void Mpris::quit() { QTimer::singleShot(0, &window_, &MainWindow::exitProgram); }

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
        window_.jukebox.resume();
    } else if (status == QLatin1String("Stopped")) {
        window_.jukebox.play();
    }
}

void Mpris::pause() {
    if (canPause() && playbackStatus() == QLatin1String("Playing")) window_.jukebox.pause();
}

void Mpris::stop() {
    if (window_.stopButton->isEnabled()) window_.jukebox.stop();
}

void Mpris::next() {
    if (canGoNext()) window_.jukebox.next();
}

void Mpris::previous() {
    if (canGoPrevious()) window_.jukebox.previous();
}

void Mpris::seek(std::int64_t offset) {
    if (!canSeek()) return;
    const std::int64_t target = std::max<std::int64_t>(0, position() + offset);
    if (target > lengthOf(trackPath())) {
        next();
    } else {
        window_.jukebox.seek(wholeSeconds(target));
    }
}

void Mpris::setPosition(const QDBusObjectPath& track, std::int64_t position) {
    if (!canSeek() || track != trackId(trackEntry()) || position < 0 ||
        position > lengthOf(trackPath())) {
        return;
    }
    window_.jukebox.seek(wholeSeconds(position));
}

void Mpris::openUri(const QString& uri) {
    Jukebox& jukebox = window_.jukebox;
    const int before = jukebox.entries().count();
    window_.addDroppedSongs({QUrl(uri)});
    if (jukebox.entries().count() == before) return;
    jukebox.stop();
    jukebox.chooseEntry(jukebox.entries().count() - 1);
    jukebox.play();
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

QString Mpris::playbackStatus() const { return statusOf(window_.jukebox.mode()); }

std::int64_t Mpris::position() const {
    return static_cast<std::int64_t>(window_.jukebox.position() * kMicroseconds);
}

int Mpris::trackEntry() const {
    const Jukebox& jukebox = window_.jukebox;
    if (jukebox.playingEntry() >= 0) return jukebox.playingEntry();
    return jukebox.chosenPath().empty() ? -1 : jukebox.entries().current();
}

std::string Mpris::trackPath() const {
    const int entry = trackEntry();
    return entry < 0 ? std::string()
                     : std::string(entryPath(window_.jukebox.entries().entry(entry)));
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
    // The URL keeps the path's bytes, also those that are no UTF-8.
    data.insert(
        QStringLiteral("xesam:url"),
        QString::fromLatin1("file://" + QByteArray::fromStdString(path).toPercentEncoding("/")));
    data.insert(QStringLiteral("xesam:title"), window_.songRows->title(entry));
    if (const std::int64_t length = lengthOf(path); length > 0) {
        data.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(length));
    }
    if (path == tagsPath_ && !tags_.artist.empty()) {
        data.insert(QStringLiteral("xesam:artist"),
                    QStringList{QString::fromStdString(tags_.artist)});
    }
    if (path == tagsPath_ && !tags_.album.empty()) {
        data.insert(QStringLiteral("xesam:album"), QString::fromStdString(tags_.album));
    }
    return data;
}

QString Mpris::loopStatus() const {
    return window_.repeatBox->isChecked() ? QStringLiteral("Track") : QStringLiteral("None");
}

// The jukebox repeats one song or none; a whole-list loop is no setting of it.
void Mpris::setLoopStatus(const QString& status) {
    if (status == QLatin1String("Track") || status == QLatin1String("None")) {
        window_.repeatBox->setChecked(status == QLatin1String("Track"));
    }
}

bool Mpris::shuffle() const { return window_.randomOrderBox->isChecked(); }

void Mpris::setShuffle(bool on) { window_.randomOrderBox->setChecked(on); }

double Mpris::volume() const {
    const QSlider* slider = window_.volumeSlider;
    const int span = slider->maximum() - slider->minimum();
    return span > 0 ? static_cast<double>(slider->value() - slider->minimum()) / span : 0.0;
}

// The same as the user moving the main volume slider there.
void Mpris::setVolume(double volume) {
    QSlider* slider = window_.volumeSlider;
    const double share = std::clamp(volume, 0.0, 1.0);
    SliderClicks::setValueQuietly(
        slider, slider->minimum() +
                    static_cast<int>(std::lround(share * (slider->maximum() - slider->minimum()))));
    window_.onVolumeSliderClicked();
}

bool Mpris::canGoNext() const { return window_.nextSongButton->isEnabled(); }

bool Mpris::canGoPrevious() const { return window_.previousSongButton->isEnabled(); }

// A song that plays can always be played (clients then offer PlayPause, which
// pauses it). Otherwise Play resumes a paused song while the resume button
// works, or plays the chosen one while the play button works; without a
// chosen song the play button would only ask the user to choose one.
bool Mpris::canPlay() const {
    const QString status = playbackStatus();
    if (status == QLatin1String("Playing")) return true;
    if (status == QLatin1String("Paused")) return window_.resumeButton->isEnabled();
    return window_.playButton->isEnabled() && !window_.jukebox.chosenPath().empty();
}

bool Mpris::canPause() const { return window_.pauseButton->isEnabled(); }

// The position bar moves an open song only.
bool Mpris::canSeek() const {
    return window_.positionBar->isEnabled() && playbackStatus() != QLatin1String("Stopped");
}

}  // namespace melvo

#include "Mpris.moc"
