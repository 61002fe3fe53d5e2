#pragma once

// The exported entry points of a reader library, defined from the one list of reader functions:
// Zentrava_<ordinal> with C linkage and the list's own parameters, so that no library can drift
// from the program's table. A library writes only its backend, a class with
//
//     template <ReaderFunction F, class... Args> static int32_t call(Args... args);
//     static int32_t uncalled(int ordinal);   // the ordinals the program binds but never calls
//     static constexpr int32_t InternalError;  // what an exception inside the library answers
//
// and then, in one source file:
//
//     #define ZENTRAVA_BACKEND MyBackend
//     #include "reader/ReaderExports.h"
//     ZENTRAVA_DEFINE_EXPORTS()
//
// Every call reaches `call<F>` with the function known at compile time (its log name is
// ReaderFunctionInfo<F>::name). No exception crosses the C boundary.

#include "reader/ReaderFunctions.h"

#ifdef _WIN32
// Windows exports by ordinal through the library's .def file (Zentrava_N @N NONAME).
#define ZENTRAVA_EXPORT extern "C"
#else
#define ZENTRAVA_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#define ZENTRAVA_DEFINE_CALLED_EXPORT(ordinal, name, presence, params, args, buffers)               \
    ZENTRAVA_EXPORT int32_t ZENTRAVA_CALL Zentrava_##ordinal params                                  \
    {                                                                                                \
        try {                                                                                        \
            return ZENTRAVA_BACKEND::call<ReaderFunction::name>(ZENTRAVA_UNPAREN args);              \
        } catch (...) {                                                                              \
            return ZENTRAVA_BACKEND::InternalError;                                                  \
        }                                                                                            \
    }
#define ZENTRAVA_DEFINE_UNCALLED_EXPORT(ordinal, presence)                                           \
    ZENTRAVA_EXPORT int32_t ZENTRAVA_CALL Zentrava_##ordinal(void)                                   \
    {                                                                                                \
        return ZENTRAVA_BACKEND::uncalled(ordinal);                                                  \
    }

#define ZENTRAVA_DEFINE_EXPORTS() \
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_DEFINE_CALLED_EXPORT, ZENTRAVA_DEFINE_UNCALLED_EXPORT)
