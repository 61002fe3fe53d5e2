#include "reader/ReaderApi.h"

#include <cstring>
#include <type_traits>

ReaderApiTable ReaderApi;

namespace {

// Stores a looked-up address into one typed member of the table, and reads it back untyped.
template <auto Member>
void storeEntry(ReaderApiTable &table, void *address)
{
    table.*Member = reinterpret_cast<std::remove_reference_t<decltype(table.*Member)>>(address);
}

template <auto Member>
void *loadEntry(const ReaderApiTable &table)
{
    return reinterpret_cast<void *>(table.*Member);
}

} // namespace

const ReaderEntryBinding ReaderEntryBindings[] = {
#define ZENTRAVA_BINDING_ENTRY(ordinal, name, presence, params, args, buffers)                    \
    {ordinal, #name, ReaderPresence::presence == ReaderPresence::Required, &storeEntry<&ReaderApiTable::name>, \
     &loadEntry<&ReaderApiTable::name>},
#define ZENTRAVA_BINDING_PLACEHOLDER(n, presence)                                                  \
    {n, "", ReaderPresence::presence == ReaderPresence::Required, &storeEntry<&ReaderApiTable::ordinal##n>, \
     &loadEntry<&ReaderApiTable::ordinal##n>},
    ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_BINDING_ENTRY, ZENTRAVA_BINDING_PLACEHOLDER)
#undef ZENTRAVA_BINDING_ENTRY
#undef ZENTRAVA_BINDING_PLACEHOLDER
};

// The header declares the table with the list's count: a row missing or added does not compile.
static_assert(std::size(ReaderEntryBindings) == std::size(ReaderOrdinals));

const ReaderEntryBinding *FindReaderEntry(const char *name)
{
    if (name == nullptr || *name == '\0')
        return nullptr;
    for (const ReaderEntryBinding &entry : ReaderEntryBindings) {
        if (std::strcmp(entry.name, name) == 0)
            return &entry;
    }
    return nullptr;
}
