#include "playback/Wait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <cmath>

namespace melvo {

void waitSeconds(double seconds) {
    QElapsedTimer clock;
    clock.start();
    const qint64 total = std::isfinite(seconds) ? std::llround(seconds * 1000.0) : 0;

    // The timer only wakes the event dispatcher at the deadline; the loop
    // checks the clock itself, so an early or late wake-up changes nothing.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    for (qint64 remaining = total - clock.elapsed(); remaining > 0;
         remaining = total - clock.elapsed()) {
        wake.start(static_cast<int>(std::min<qint64>(remaining, 1'000'000'000)));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

}  // namespace melvo
