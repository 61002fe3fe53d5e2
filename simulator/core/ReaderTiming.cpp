#include "ReaderTiming.h"

#include <thread>

namespace zentrava {

namespace {

CardTime::Scope *openScope = nullptr;

// Long enough to cover a late wake-up on a busy machine, short enough not to burn a core.
constexpr auto WatchedTail = std::chrono::microseconds(300);

} // namespace

CardTime::Scope::Scope() : m_outer(openScope)
{
    openScope = this;
}

CardTime::Scope::~Scope()
{
    openScope = m_outer;
}

void CardTime::spend(timing::Duration duration)
{
    if (openScope)
        openScope->m_spent += duration;
}

void waitUntil(std::chrono::steady_clock::time_point deadline)
{
    const auto now = std::chrono::steady_clock::now();
    if (deadline - now > WatchedTail)
        std::this_thread::sleep_until(deadline - WatchedTail);
    while (std::chrono::steady_clock::now() < deadline)
        std::this_thread::yield();
}

} // namespace zentrava
