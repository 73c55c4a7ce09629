#include "CyklPracy.h"
