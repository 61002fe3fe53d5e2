#pragma once

// What every fuzz target shares: the input taken apart, the invariant check, and a private
// folder for the files a target writes.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

// A broken invariant is a finding like a crash: say which, then abort so libFuzzer keeps the input.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "invariant broken at %s:%d: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)

namespace fuzzharness {

// Takes a fuzzer's bytes apart: small numbers for choices first, the rest as content.
class Input
{
public:
    Input(const uint8_t *data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_position >= m_size; }
    // The next byte, 0 once the input is used up.
    uint8_t byte() { return empty() ? 0 : m_data[m_position++]; }
    // A number in 0 .. range - 1.
    int pick(int range) { return range <= 0 ? 0 : byte() % range; }
    // Up to count bytes.
    std::string_view take(std::size_t count)
    {
        const std::size_t taken = std::min(count, m_size - m_position);
        m_position += taken;
        return {reinterpret_cast<const char *>(m_data + m_position - taken), taken};
    }
    std::string_view rest() { return take(m_size - m_position); }
    // The rest in a buffer of its own, exactly as long, so that any read past it is caught.
    std::vector<uint8_t> restCopy()
    {
        const std::string_view bytes = rest();
        return {bytes.begin(), bytes.end()};
    }

private:
    const uint8_t *m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// In memory when the machine offers it, so that a run of millions of inputs neither wears a
// disk nor waits for one. Removed when the run ends normally; a crashed run leaves it for a look.
inline const std::string &ScratchFolder()
{
    static const struct Folder {
        std::string path = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/vornex-fuzz-XXXXXX");
        Folder()
        {
            if (mkdtemp(path.data()) == nullptr)
                std::perror("mkdtemp"), std::abort();
        }
        ~Folder() { std::error_code ignored; std::filesystem::remove_all(path, ignored); }
    } folder;
    return folder.path;
}

// The file of that name (or path below it) in the scratch folder, its content replaced with the
// bytes; answers its path.
inline std::string ScratchFile(const std::string &name, const void *bytes, std::size_t size)
{
    const std::string path = ScratchFolder() + "/" + name;
    if (!std::ofstream(path, std::ios::binary).write(static_cast<const char *>(bytes), std::streamsize(size))) {
        std::perror(path.c_str());
        std::abort();
    }
    return path;
}

} // namespace fuzzharness
