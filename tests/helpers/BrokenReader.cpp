#include "reader/ReaderFunctions.h"

#include <cstdint>

namespace {

// Every entry answers status 1, as a reader that is not connected.
struct NotConnected {
    template <ReaderFunction F, class... Args> static int32_t call(Args...) { return 1; }
    static int32_t uncalled(int) { return 1; }
    static constexpr int32_t InternalError = 1;
};

} // namespace

#define ZENTRAVA_BACKEND NotConnected
#include "reader/ReaderExports.h"

// Each variant defines the exports of part of the list, as the generator defines them.
#define DEFINED(ordinal, name, presence, params, args, buffers) \
    ZENTRAVA_DEFINE_CALLED_EXPORT(ordinal, name, presence, params, args, buffers)
#define LEFT_OUT(...)

#if defined(READER_VARIANT_RequiredOnly)
// Every required ordinal, called or not; none of the optional ones.
#define CALLED_Required DEFINED
#define CALLED_Optional LEFT_OUT
#define UNCALLED_Required ZENTRAVA_DEFINE_UNCALLED_EXPORT
#define UNCALLED_Optional LEFT_OUT
#elif defined(READER_VARIANT_CalledOnly)
// Every function the program calls, optional ones included; none of the ordinals it binds but
// never calls, although most of those are required.
#define CALLED_Required DEFINED
#define CALLED_Optional DEFINED
#define UNCALLED_Required LEFT_OUT
#define UNCALLED_Optional LEFT_OUT
#endif

#define CALLED(ordinal, name, presence, params, args, buffers) CALLED_##presence(ordinal, name, presence, params, args, buffers)
#define UNCALLED(ordinal, presence) UNCALLED_##presence(ordinal, presence)

ZENTRAVA_READER_FUNCTIONS(CALLED, UNCALLED)
