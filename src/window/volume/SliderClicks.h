// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// Tells the changes a user makes to a slider from the ones the program makes.
//
// A click is every change the user makes: a mouse button pressed and let go on
// the slider (on the groove, or on the handle after a drag, even when the
// value ends where it was), a key, a turn of the wheel, or an assistive tool
// setting the value of the shown slider. Each counts once, after the value has
// settled. Values the program sets itself through setValueQuietly or inside a
// Quiet scope do not count, and neither do changes to a hidden slider, which
// no user can reach.
#pragma once

#include <QObject>
#include <functional>

class QSlider;

namespace melvo {

class SliderClicks : public QObject {
    Q_OBJECT

  public:
    // Runs onClick after every click on slider from now on. Watching a slider
    // that is already watched changes nothing.
    static void watch(QSlider* slider, std::function<void()> onClick);

    // Sets the value without a click; the slider keeps it inside its range.
    static void setValueQuietly(QSlider* slider, int value);

    // While it lives, changes of the slider (range, steps, value) are the program's.
    class Quiet {
      public:
        explicit Quiet(QSlider* slider);
        ~Quiet();
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;

      private:
        SliderClicks* clicks_;
    };

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    SliderClicks(QSlider* slider, std::function<void()> onClick);
    static SliderClicks* of(QSlider* slider);
    void actionTriggered(int action);
    void valueChanged();

    QSlider* slider_;
    std::function<void()> onClick_;
    bool mouseHeld_ = false;
    int quiet_ = 0;
};

}  // namespace melvo
