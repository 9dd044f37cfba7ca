// SPDX-License-Identifier: MIT
#pragma once

#include "level.h"

// What a save keeps of a level, shared by the targets that save one: the
// level as reading the saved file gives it, and the check that a level read
// back is that.

// Whether a piece of the record is a START line, as the reader tells one.
bool startsHere(const LocationRecord &record);

// What a save keeps of a level, read back: each record in its written form
// and ended by the empty line's "|", names trimmed with "-" for inner
// spaces, the rules that have a first ingredient, one block a location in
// row-major order (so the last START in that order is the start).
Level keptBySave(const Level &level);

// Stops the run unless got, read from a saved file, is expected (what
// keptBySave gives). toUtf8: the file was written as Latin-1 but reads as
// UTF-8, which changes every character the writer wrote as Latin-1.
void compareKept(const Level &expected, const Level &got, bool toUtf8);
