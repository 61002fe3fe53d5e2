#include "ReaderTiming.h"

#include <algorithm>
#include <thread>

namespace zentrava {

namespace {

CardTime::Scope *openScope = nullptr;

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

void ReaderPace::waitUntil(std::chrono::steady_clock::time_point deadline)
{
    // Never more than a handful of calls' worth: a long stall is not made up for.
    constexpr timing::Duration MostOwed = std::chrono::milliseconds(50);
    const auto now = std::chrono::steady_clock::now();
    const timing::Duration wait = deadline - now;
    if (wait <= m_owed) {
        m_owed -= std::max(wait, timing::Duration{0});
        return;
    }
    deadline -= m_owed;
    std::this_thread::sleep_until(deadline);
    m_owed = std::min<timing::Duration>(std::chrono::steady_clock::now() - deadline, MostOwed);
}

} // namespace zentrava
