#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>

// A private folder for the files a target writes, in memory when the machine offers it, so that
// a run of millions of inputs neither wears a disk nor waits for one.
// Removed when the run ends normally; a crashed run leaves it for a look.
inline const std::string &ScratchFolder()
{
    struct Folder
    {
        std::string path;
        Folder()
        {
            path = (access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp") + std::string("/vornex-fuzz-XXXXXX");
            if (mkdtemp(path.data()) == nullptr) {
                std::perror("mkdtemp");
                std::abort();
            }
        }
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static const Folder folder;
    return folder.path;
}

// Replaces the file's content with the bytes.
inline void WriteScratchFile(const std::string &path, std::string_view bytes)
{
    std::FILE *file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::perror(path.c_str());
        std::abort();
    }
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}
