#pragma once

#include <string_view>

// The reader library's functions by the names the program logs ("rf_M1_read"), for the faults
// the operator forces on one of them.
namespace zentrava::readerfunctions {

// The name of the function at an ordinal; empty for an ordinal the program never calls.
std::string_view nameOf(int ordinal);
bool isKnown(std::string_view name);
// The ordinal in the name of an exported entry point ("Zentrava_22", or a signature holding
// it); 0 when there is none.
int ordinalOfEntry(std::string_view entry);

} // namespace zentrava::readerfunctions
