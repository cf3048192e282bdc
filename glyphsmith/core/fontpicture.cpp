#include "fontpicture.h"
