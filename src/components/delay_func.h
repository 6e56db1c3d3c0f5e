#pragma once
// A wait that keeps the program alive: pending events (paints, timers, clicks)
// are handled all the while.

// Returns once more than Seconds have passed on a steady clock, after at least
// one pass of event processing. Zero, negative or not-a-number waits one pass.
void DelaySeconds(double seconds);
