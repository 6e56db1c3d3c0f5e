#include "components/delay_func.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <climits>
#include <cmath>

void DelaySeconds(double seconds) {
  if (!(seconds > 0)) seconds = 0;  // also catches NaN, which would never be exceeded
  QElapsedTimer clock;
  clock.start();
  // A wake-up timer lets the loop sleep in the event dispatcher instead of
  // spinning a core for the whole wait; restarted each pass with the time
  // left, so a timer that fires a little early costs one more short pass.
  QTimer wake;
  wake.setSingleShot(true);
  wake.setTimerType(Qt::PreciseTimer);
  QCoreApplication::processEvents(QEventLoop::AllEvents);
  for (;;) {
    const double elapsed = clock.nsecsElapsed() / 1e9;
    if (elapsed > seconds) return;
    const double leftMs = std::ceil((seconds - elapsed) * 1000.0);
    wake.start(leftMs >= INT_MAX ? INT_MAX : std::max(1, int(leftMs)));
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
}
