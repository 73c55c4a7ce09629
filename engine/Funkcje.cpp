#include "Funkcje.h"
