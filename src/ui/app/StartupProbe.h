#pragma once

class QWidget;

// For measuring start-up: when the environment variable
// TAVRO_EXIT_AFTER_FIRST_PAINT is set, the first paint of `pWidget` prints
// "first-paint-ns N" (N: wall-clock nanoseconds since the epoch) on standard
// output once the painted frame has been handed to the window system, and
// then quits the program. Does nothing otherwise.
void ExitAfterFirstPaintIfAsked(QWidget* pWidget);
