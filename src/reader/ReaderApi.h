#pragma once

#include "reader/ReaderFunctions.h"

// The bound entry points of the reader library, one typed pointer per ordinal, named as the
// program logs them. A pointer is null while no library is bound, and for an optional ordinal
// that the library does not export. Status 0 is success; anything else is shown, never interpreted.
struct ReaderApiTable {
#define ZENTRAVA_TABLE_ENTRY(ordinal, name, presence, params, args, buffers) \
    ReaderFunctionInfo<ReaderFunction::name>::Pointer name = nullptr;
#define ZENTRAVA_TABLE_PLACEHOLDER(n, presence) int32_t(ZENTRAVA_CALL *ordinal##n)() = nullptr;
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_TABLE_ENTRY, ZENTRAVA_TABLE_PLACEHOLDER)
#undef ZENTRAVA_TABLE_ENTRY
#undef ZENTRAVA_TABLE_PLACEHOLDER
};

// Process-wide table, set once by binding; tests may point entries at fakes.
extern ReaderApiTable ReaderApi;

// What the list says of one called function, and where its entry point is in the table.
template <ReaderFunction F>
struct ReaderFunctionTraits;

#define ZENTRAVA_TRAITS_ENTRY(ordinal, name_, presence, params, args, buffers)    \
    template <>                                                                   \
    struct ReaderFunctionTraits<ReaderFunction::name_> : ReaderFunctionInfo<ReaderFunction::name_> { \
        static constexpr auto member = &ReaderApiTable::name_;                    \
    };
#define ZENTRAVA_TRAITS_PLACEHOLDER(ordinal, presence)
ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_TRAITS_ENTRY, ZENTRAVA_TRAITS_PLACEHOLDER)
#undef ZENTRAVA_TRAITS_ENTRY
#undef ZENTRAVA_TRAITS_PLACEHOLDER

// One row of the binding order: the ordinal, its log name (empty for an ordinal that is never
// called), whether start-up requires it, and where its address goes.
struct ReaderEntryBinding {
    int ordinal;
    const char *name;
    bool required;
    void (*store)(ReaderApiTable &table, void *address);
    void *(*load)(const ReaderApiTable &table);
};

// Every ordinal the program binds, in the order it looks them up.
extern const ReaderEntryBinding ReaderEntryBindings[ReaderOrdinalCount];

// The row of a called function by its log name; null for a name the list does not have.
const ReaderEntryBinding *FindReaderEntry(const char *name);
