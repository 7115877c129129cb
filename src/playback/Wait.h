// Waiting a moment inside a handler while the window stays responsive.
#pragma once

namespace melvo {

// Returns after the given number of seconds, measured on a clock that never
// jumps or restarts. Pending window events (timers, clicks, repaints) run
// meanwhile; between them the thread sleeps instead of spinning.
void waitSeconds(double seconds);

}  // namespace melvo
