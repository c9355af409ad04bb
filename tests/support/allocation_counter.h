// Counts every operator new of a test program, so tests can check that a
// per-frame path allocates nothing. Linking the counter replaces the
// program's global operator new and delete.
#pragma once

// Allocations through operator new since the program started.
long AllocationCount();
