// The shared memory paint device, included with -Wshadow off: its draw functions' parameters are
// named like its public fields, which g++ reports as shadowing.
#pragma once

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
#include "memory_paint_device.h"
#pragma GCC diagnostic pop
