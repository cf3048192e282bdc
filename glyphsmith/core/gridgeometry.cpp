#include "gridgeometry.h"
