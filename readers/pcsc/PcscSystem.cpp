#include "PcscApi.h"

#ifdef _WIN32

const PcscFunctions &SystemPcsc()
{
    static const PcscFunctions functions{
        SCardEstablishContext,
        SCardReleaseContext,
        PCSC_NARROW(SCardListReaders),
        PCSC_NARROW(SCardConnect),
        SCardReconnect,
        SCardDisconnect,
        PCSC_NARROW(SCardStatus),
        PCSC_NARROW(SCardGetStatusChange),
        SCardTransmit,
    };
    return functions;
}

void SetPcscAnswerLimit(int) {}

#else

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <mutex>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

// pcsc-lite waits for pcscd's answer without a time limit: a pcscd that hangs (on a reader
// driver that does not answer, say) would hang the program with it. Each call is watched: once
// it has waited longer than the limit, the watchdog shuts down the process's sockets to pcscd,
// the call returns, answers SCARD_E_TIMEOUT, and the next call opens a new context.
class Watchdog
{
public:
    ~Watchdog()
    {
        {
            const std::lock_guard<std::mutex> lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        if (m_thread.joinable())
            m_thread.join();
    }

    void setLimit(int milliseconds) { m_limitMs = milliseconds; }

    template <class Call>
    LONG watch(int extraMs, Call call)
    {
        std::call_once(m_started, [this] { m_thread = std::thread([this] { run(); }); });
        const uint64_t number = m_call.fetch_add(1) + 1;
        const auto deadline = Clock::now() + std::chrono::milliseconds(m_limitMs.load() + extraMs);
        m_deadline.store(deadline.time_since_epoch().count());
        const LONG result = call();
        m_deadline.store(0);
        return m_fired.load() == number ? LONG(SCARD_E_TIMEOUT) : result;
    }

private:
    void run()
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_stopping) {
            // A tenth of a second is all the lateness the limit gets, and costs the calls nothing.
            m_wake.wait_for(lock, std::chrono::milliseconds(100));
            const uint64_t number = m_call.load();
            const auto deadline = m_deadline.load();
            if (deadline != 0 && Clock::now().time_since_epoch().count() > deadline && m_fired.load() != number) {
                m_fired.store(number);
                shutDownPcscdSockets();
            }
        }
    }

    static void shutDownPcscdSockets()
    {
        const char *configured = std::getenv("PCSCLITE_CSOCK_NAME");
        const std::string socketPath = configured != nullptr ? configured : "/run/pcscd/pcscd.comm";
        DIR *folder = opendir("/proc/self/fd");
        if (folder == nullptr)
            return;
        while (const dirent *entry = readdir(folder)) {
            const int fd = std::atoi(entry->d_name);
            struct stat status {};
            if (fd <= 2 || fd == dirfd(folder) || fstat(fd, &status) != 0 || !S_ISSOCK(status.st_mode))
                continue;
            sockaddr_un peer{};
            socklen_t length = sizeof peer;
            if (getpeername(fd, reinterpret_cast<sockaddr *>(&peer), &length) == 0 && peer.sun_family == AF_UNIX
                && std::strncmp(peer.sun_path, socketPath.c_str(), sizeof peer.sun_path) == 0)
                shutdown(fd, SHUT_RDWR);
        }
        closedir(folder);
    }

    std::atomic<int> m_limitMs{5000};
    std::atomic<uint64_t> m_call{0};
    std::atomic<uint64_t> m_fired{0};
    std::atomic<Clock::rep> m_deadline{0};
    std::once_flag m_started;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stopping = false;
};

Watchdog &watchdog()
{
    static Watchdog dog;
    return dog;
}

template <auto Function, class... Args>
LONG watched(Args... args)
{
    return watchdog().watch(0, [&] { return Function(args...); });
}

LONG watchedStatusChange(SCARDCONTEXT context, DWORD timeout, SCARD_READERSTATE *states, DWORD count)
{
    // The wait asked for is no hang.
    const int asked = timeout == INFINITE ? 0 : int(timeout);
    return watchdog().watch(asked, [&] { return SCardGetStatusChange(context, timeout, states, count); });
}

} // namespace

const PcscFunctions &SystemPcsc()
{
    // Made before the reader that uses the table, so that it is destroyed after it: the
    // reader's last calls (rf_close_com at unloading) are watched too.
    watchdog();
    static const PcscFunctions functions{
        watched<SCardEstablishContext, DWORD, LPCVOID, LPCVOID, LPSCARDCONTEXT>,
        watched<SCardReleaseContext, SCARDCONTEXT>,
        watched<SCardListReaders, SCARDCONTEXT, LPCSTR, LPSTR, LPDWORD>,
        watched<SCardConnect, SCARDCONTEXT, LPCSTR, DWORD, DWORD, LPSCARDHANDLE, LPDWORD>,
        watched<SCardReconnect, SCARDHANDLE, DWORD, DWORD, DWORD, LPDWORD>,
        watched<SCardDisconnect, SCARDHANDLE, DWORD>,
        watched<SCardStatus, SCARDHANDLE, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPBYTE, LPDWORD>,
        watchedStatusChange,
        watched<SCardTransmit, SCARDHANDLE, const SCARD_IO_REQUEST *, LPCBYTE, DWORD, SCARD_IO_REQUEST *, LPBYTE,
                LPDWORD>,
    };
    return functions;
}

void SetPcscAnswerLimit(int milliseconds) { watchdog().setLimit(milliseconds); }

#endif
