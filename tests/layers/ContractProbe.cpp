// Compiled, not run: a simulated reader's command typed against the one list of reader
// functions, as ReaderCommands.h types every one. With WRONG_SIGNATURE the command of
// rf_M1_read lacks its length parameter, and it must not compile.
#include "ReaderCommands.h"

namespace {

#ifdef WRONG_SIGNATURE
int32_t readBlock(zentrava::SimulatedReader &, uint8_t, uint8_t *)
{
    return 0;
}
#else
int32_t readBlock(zentrava::SimulatedReader &, uint8_t, uint8_t *, uint8_t *)
{
    return 0;
}
#endif

[[maybe_unused]] constexpr zentrava::readercommand::Pointer<ReaderFunction::rf_M1_read> command = &readBlock;

} // namespace
