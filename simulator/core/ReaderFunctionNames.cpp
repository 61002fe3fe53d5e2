#include "ReaderFunctionNames.h"

#include "reader/ReaderFunctions.h"

#include <cctype>

namespace zentrava::readerfunctions {

namespace {

struct Entry {
    int ordinal;
    std::string_view name;
};

#define ZENTRAVA_NAME_ENTRY(ordinal, name, presence, params, args, buffers) {ordinal, #name},
#define ZENTRAVA_NO_NAME(ordinal, presence)
constexpr Entry Entries[] = {ZENTRAVA_READER_FUNCTIONS(ZENTRAVA_NAME_ENTRY, ZENTRAVA_NO_NAME)};
#undef ZENTRAVA_NAME_ENTRY
#undef ZENTRAVA_NO_NAME

} // namespace

std::string_view nameOf(int ordinal)
{
    for (const Entry &entry : Entries)
        if (entry.ordinal == ordinal)
            return entry.name;
    return {};
}

bool isKnown(std::string_view name)
{
    for (const Entry &entry : Entries)
        if (entry.name == name)
            return true;
    return false;
}

int ordinalOfEntry(std::string_view entry)
{
    constexpr std::string_view Prefix = "Zentrava_";
    const auto start = entry.find(Prefix);
    if (start == std::string_view::npos)
        return 0;
    int ordinal = 0;
    for (std::size_t i = start + Prefix.size(); i < entry.size() && std::isdigit(static_cast<unsigned char>(entry[i])) && ordinal < 100000; ++i)
        ordinal = ordinal * 10 + (entry[i] - '0');
    return ordinal;
}

} // namespace zentrava::readerfunctions
