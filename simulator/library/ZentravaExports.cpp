// The entry points of libZentrava.so, exported as Zentrava_<ordinal> with C linkage and defined
// from the one list of reader functions: each hands its arguments to the library's session with
// the simulated reader. Nothing else is visible outside the library.

#include "ReaderSession.h"
#include "StatusCode.h"

namespace {

namespace status = zentrava::status;

// The one reader of the library.
zentrava::ReaderSession &session()
{
    static zentrava::ReaderSession readerSession;
    return readerSession;
}

struct SimulatedReaderExports {
    template <ReaderFunction F, class... Args> static int32_t call(Args... args)
    {
        return session().call<F>(args...);
    }
    // The ordinals the program binds but never calls exist and refuse.
    static int32_t uncalled(int) { return status::NotSupported; }
    static constexpr int32_t InternalError = status::InternalError;
};

} // namespace

#define ZENTRAVA_BACKEND SimulatedReaderExports
#include "reader/ReaderExports.h"

ZENTRAVA_DEFINE_EXPORTS()
