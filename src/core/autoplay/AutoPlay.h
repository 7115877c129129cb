// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Automatic play: whether it is on, list or random order, and the one-second
// supervisor that asks for the first song once armed and for the next one
// after each song. It rests while a song is paused.
#pragma once

#include <QObject>
#include <random>
#include <string>

class QTimer;

namespace melvo {

class AutoPlay : public QObject {
    Q_OBJECT

  public:
    explicit AutoPlay(std::string settingsPath, QObject* parent = nullptr);

    // Reads "AUTO" and "RANDAM" from the settings file.
    void loadSettings();
    bool isOn() const { return on_; }
    bool randomOrder() const { return randomOrder_; }
    std::mt19937& randomGenerator() { return randomGenerator_; }
    // The supervisor's next tick starts the first song.
    bool isArmed() const { return armed_; }

    // The mode chosen in the menu, stored as "AUTO".
    void chooseMode(bool on);
    // Stores the random order as "RANDAM", once the settings have been read.
    void saveRandomOrder() const;
    // Turns automatic play on for this run and supervises from the next second.
    void begin();
    // Arms the supervisor; it starts when automatic play is on and there are songs.
    void arm(bool haveSongs);
    void disarm() { armed_ = false; }
    // Automatic play goes off for this run and the supervisor stops.
    void end();
    // The supervisor waits while a song is paused, and goes on with it.
    void rest();
    void wake();

  public slots:
    void setRandomOrder(bool random);

  signals:
    void randomOrderChanged(bool random);
    // A tick of the supervisor.
    void supervise();

  private:
    std::string settingsPath_;
    QTimer* timer_;
    bool settingsLoaded_ = false;
    bool on_ = false;
    bool randomOrder_ = false;
    bool armed_ = false;
    bool resting_ = false;
    std::mt19937 randomGenerator_{std::random_device{}()};
};

}  // namespace melvo
