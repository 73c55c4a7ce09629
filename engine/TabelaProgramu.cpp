#include "TabelaProgramu.h"
