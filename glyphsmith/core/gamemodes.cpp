#include "gamemodes.h"
