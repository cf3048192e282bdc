#pragma once

class Prompts;

// The first-run check the main window makes when it opens.
namespace StartUp {

// When the settings say this is the first run: shows the one-time welcome, records
// that it was shown, and returns true: the caller then closes the main window and
// opens the Configure dialog instead.
bool firstRunCheck(Prompts &prompts);

} // namespace StartUp
