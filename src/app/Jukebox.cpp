#include "app/Jukebox.h"

#include <QTimer>

#include "common/Numbers.h"
#include "settings/Settings.h"

namespace melvo {

namespace {

std::string settingOr(const std::string& key, const std::string& path, const char* fallback) {
    std::string value = readSetting(key, kSettingsSection, path);
    return value == kNoSetting ? fallback : value;
}

QTimer* makeTimer(QObject* parent, const char* name, int interval) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(interval);
    return timer;
}

}  // namespace

Jukebox::Jukebox(const QString& dataFolder, MediaEngine& media, Mixer& mixer, QObject* parent)
    : QObject(parent),
      positionTimer(makeTimer(this, "positionTimer", 100)),
      autoPlayTimer(makeTimer(this, "autoPlayTimer", 1000)),
      dataFolder_(dataFolder),
      media_(media),
      mixer_(mixer) {
    setObjectName(QStringLiteral("jukebox"));
    connect(positionTimer, &QTimer::timeout, this, &Jukebox::pollPosition);
    connect(autoPlayTimer, &QTimer::timeout, this, &Jukebox::superviseAutoPlay);
}

std::string Jukebox::settingsPath() const {
    return (dataFolder_ + "/" + kSettingsFileName).toStdString();
}

std::string Jukebox::songListPath() const { return (dataFolder_ + "/mvMP3.csv").toStdString(); }

void Jukebox::loadSettings() {
    autoPlayMode_ = settingOr("AUTO", settingsPath(), "0");
    randomOrder_ = settingOr("RANDAM", settingsPath(), "0") != "0";
    initialVolumeSetting_ = settingOr("vol", settingsPath(), "6553");
    settingsLoaded_ = true;
}

// The mode read as a number is not 0 (text that is no number reads as 0).
bool Jukebox::autoPlayOn() const { return leadingNumber(autoPlayMode_) != 0; }

}  // namespace melvo
