#include "startup.h"

namespace StartUp {
bool firstRunCheck(Prompts &) { return false; }
} // namespace StartUp
