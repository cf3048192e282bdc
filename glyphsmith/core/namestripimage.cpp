#include "namestripimage.h"
