#include "modecontroller.h"
