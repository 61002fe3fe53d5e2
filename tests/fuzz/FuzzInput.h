#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

// Takes a fuzzer's bytes apart: small numbers for choices first, the rest as content.
class FuzzInput
{
public:
    FuzzInput(const uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_position >= m_size; }
    // The next byte, 0 once the input is used up.
    uint8_t byte() { return empty() ? 0 : m_data[m_position++]; }
    // A number in 0 .. range - 1.
    int pick(int range) { return range <= 0 ? 0 : byte() % range; }
    // Up to count bytes.
    std::string_view take(std::size_t count)
    {
        const std::size_t available = m_size - m_position;
        const std::size_t taken = count < available ? count : available;
        const std::string_view bytes(reinterpret_cast<const char *>(m_data + m_position), taken);
        m_position += taken;
        return bytes;
    }
    std::string_view rest() { return take(m_size - m_position); }

private:
    const uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// A broken invariant is a finding like a crash: say which, then abort so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
