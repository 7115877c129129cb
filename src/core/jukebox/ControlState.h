// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Melvo developers
// What may be done next: one flag per command the window offers as a button.
// The states change only through the named transitions below, each the
// moment the jukebox reaches; a flag a transition does not name stays.
#pragma once

namespace melvo {

struct ControlState {
    // The transition that gave this state.
    enum class Step {
        Start,
        NoSongs,
        ManualIdle,
        AutoIdle,
        Playing,
        AutoPlaying,
        Stopped,
        SongAdded,
        ListReset
    };

    bool play = true;
    bool pause = true;
    bool resume = true;
    bool stop = true;
    bool add = true;
    bool remove = true;
    bool autoPlay = true;
    bool next = true;
    bool previous = true;
    Step step = Step::Start;

    // Start-up with an empty list: only adding a song.
    ControlState noSongs() const;
    // Start-up with songs, by hand or in automatic play.
    ControlState manualIdle() const;
    ControlState autoIdle() const;
    // A song was asked to play, by hand or in automatic play.
    ControlState playing() const;
    ControlState autoPlaying() const;
    ControlState stopped() const;
    // Songs were added while adding was possible.
    ControlState songAdded() const;
    // The first or the last entry went.
    ControlState listReset() const;

  private:
    ControlState after(Step step, bool canPlay, bool canPause, bool canResume, bool canStop) const;
};

}  // namespace melvo
