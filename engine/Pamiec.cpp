#include "Pamiec.h"
