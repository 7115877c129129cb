// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// The position bar: a horizontal scroll bar whose handle follows the song.
#pragma once

#include <QRect>
#include <QScrollBar>

namespace melvo {

// Moves once a second while a song plays. A move redraws only where the
// handle was and where it now is, not the whole length of the bar: drawing
// the whole bar costs several times more, every second of every song.
class PositionBar : public QScrollBar {
  public:
    explicit PositionBar(QWidget* parent = nullptr);

  protected:
    void sliderChange(SliderChange change) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    QRect handleRect() const;

    QRect handleShown_;
};

}  // namespace melvo
