#pragma once

class Prompts;

// The first-run check the main window makes when it opens.
namespace StartUp {

// When the settings say this is the first run ("first" holds exactly "yes"): shows
// the one-time welcome, records "no", and returns true: the caller then closes the
// main window and opens the Configure dialog instead. Any other value: false, and
// nothing is shown or written.
bool firstRunCheck(Prompts &prompts);

} // namespace StartUp
