#pragma once

// Declares every exported function of the library from the one list of reader functions. A
// definition whose parameters differ from the list's is then a second C function of the same
// name, which does not compile: the simulator cannot drift from the program's table.

#include "reader/ReaderFunctions.h"

#define ZENTRAVA_EXPORT extern "C" __attribute__((visibility("default")))

#define ZENTRAVA_DECLARE_FUNCTION(ordinal, name, presence, params, args, buffers) \
    ZENTRAVA_EXPORT int32_t ZENTRAVA_CALL Zentrava_##ordinal params;
#define ZENTRAVA_SKIP_PLACEHOLDER(ordinal, presence)
ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_DECLARE_FUNCTION, ZENTRAVA_SKIP_PLACEHOLDER)
#undef ZENTRAVA_DECLARE_FUNCTION
