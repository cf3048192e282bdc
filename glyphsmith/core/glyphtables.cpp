#include "glyphtables.h"
