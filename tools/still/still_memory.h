// How much memory a run of driftglow-still needs for its canvas size and
// outputs, and how much it may take: a request beyond that is refused before
// anything is drawn. Standard library and /proc only.
#pragma once

#include <cstdint>
#include <string>

#include "tools/still/still_options.h"

// Most a run may take: 2 GiB, or what the machine has available when less.
constexpr int64_t kStillMemoryCeilingBytes = int64_t{2} << 30;

// The peak resident memory a run of these options is expected to reach, in
// bytes: the program itself plus, per canvas pixel, the drawing target and
// its copies and, for a video, the frame buffers and the encoder's pictures.
int64_t stillMemoryNeed(const StillOptions& options);

// kStillMemoryCeilingBytes, or MemAvailable of /proc/meminfo when smaller.
int64_t stillMemoryLimit();

// Empty when the need fits the limit, else a one-line refusal giving both.
std::string stillMemoryRefusal(const StillOptions& options, int64_t needBytes, int64_t limitBytes);
