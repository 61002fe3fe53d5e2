#include "WriteTear.h"

#include <algorithm>

namespace zentrava {

namespace {

// The library serializes its calls, so one armed scope at a time is all there is.
WriteTear::Scope *armedScope = nullptr;

} // namespace

WriteTear::Scope::Scope(std::optional<std::size_t> budgetBytes)
{
    if (!budgetBytes)
        return;
    m_armed = true;
    m_budgetBytes = *budgetBytes;
    armedScope = this;
}

WriteTear::Scope::~Scope()
{
    if (m_armed && armedScope == this)
        armedScope = nullptr;
}

bool WriteTear::land(uint8_t *target, const uint8_t *data, std::size_t count)
{
    if (Scope *scope = armedScope) {
        scope->m_torn = true;
        count = std::min(count, scope->m_budgetBytes);
        scope->m_budgetBytes -= count;
    }
    if (std::equal(data, data + count, target))
        return false;
    std::copy(data, data + count, target);
    return true;
}

} // namespace zentrava
