#pragma once

#include "dane/KatalogDanych.h"

// The data directory could not be made ready: says so, with the directory and
// the reason, on standard error (for a start from a terminal) and in a
// message box, and gives the exit code the program ends with. The program
// does not start without its files.
int KatalogDanychNiedostepny(const BladKataloguDanych& blad);
