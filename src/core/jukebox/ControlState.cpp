// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers

#include "core/jukebox/ControlState.h"

namespace melvo {

ControlState ControlState::after(Step step, bool canPlay, bool canPause, bool canResume,
                                 bool canStop) const {
    ControlState next = *this;
    next.step = step;
    next.play = canPlay;
    next.pause = canPause;
    next.resume = canResume;
    next.stop = canStop;
    return next;
}

ControlState ControlState::noSongs() const {
    ControlState next = after(Step::NoSongs, false, false, false, false);
    next.add = true;
    next.remove = next.autoPlay = next.next = next.previous = false;
    return next;
}

ControlState ControlState::manualIdle() const {
    ControlState next = after(Step::ManualIdle, true, true, true, true);
    next.add = next.remove = true;
    return next;
}

ControlState ControlState::autoIdle() const {
    ControlState next = after(Step::AutoIdle, false, false, false, true);
    next.add = next.remove = false;
    return next;
}

ControlState ControlState::playing() const {
    ControlState next = *this;
    next.step = Step::Playing;
    next.add = next.remove = false;
    next.pause = next.resume = true;
    return next;
}

ControlState ControlState::autoPlaying() const {
    ControlState next = after(Step::AutoPlaying, false, true, true, true);
    next.add = next.remove = false;
    return next;
}

ControlState ControlState::stopped() const {
    ControlState next = after(Step::Stopped, true, false, false, true);
    next.add = next.remove = next.autoPlay = true;
    return next;
}

ControlState ControlState::songAdded() const {
    ControlState next = after(Step::SongAdded, true, false, false, true);
    next.autoPlay = next.next = next.previous = next.remove = true;
    return next;
}

ControlState ControlState::listReset() const {
    ControlState next = after(Step::ListReset, false, false, false, true);
    next.autoPlay = next.next = next.previous = next.remove = false;
    next.add = true;
    return next;
}

}  // namespace melvo
