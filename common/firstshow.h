#pragma once

class QWidget;

// Start-up measurement: when GLYPH_EXIT_ON_FIRST_SHOW is set in the environment,
// the program prints "first-show <ms since process start>" on stdout once `window`
// has been painted for the first time, and quits. Otherwise this does nothing.
namespace FirstShow {
void watch(QWidget *window);
}
