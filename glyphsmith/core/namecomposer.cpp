#include "namecomposer.h"
