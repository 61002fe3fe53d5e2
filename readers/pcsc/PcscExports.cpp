// The entry points of the PC/SC reader library, Zentrava_<ordinal>, defined from the one list:
// each hands its arguments to the one PcscReader of the process over the system's PC/SC.

#include "PcscMapping.h"

#include <mutex>

namespace {

PcscReader &theReader()
{
    static PcscReader reader(SystemPcsc(), [] {
        const PcscSettings settings = LoadPcscSettings();
        SetPcscAnswerLimit(settings.answerWaitMs);
        return settings;
    });
    return reader;
}

// The program calls from one thread at a time, but the start-up connection runs on a thread of
// its own: the lock keeps the two from meeting inside the reader.
std::mutex &readerLock()
{
    static std::mutex lock;
    return lock;
}

struct PcscBackend {
    static constexpr int32_t InternalError = pcscstatus::InternalError;

    template <ReaderFunction F, class... Args>
    static int32_t call(Args... args)
    {
        const std::lock_guard<std::mutex> guard(readerLock());
        return CallPcscReader<F>(theReader(), args...);
    }

    static int32_t uncalled(int /*ordinal*/) { return pcscstatus::NotSupported; }
};

} // namespace

#define ZENTRAVA_BACKEND PcscBackend
#include "reader/ReaderExports.h"
ZENTRAVA_DEFINE_EXPORTS()
