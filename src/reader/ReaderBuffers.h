#pragma once

#include <string_view>
#include <vector>

// The byte buffers of the reader library's functions, from the library's contract: for each
// function, its byte pointers in parameter order and how many bytes each holds. The call trace
// reads buffers by it and never beyond; the tests' recording reader takes input sizes from it.
struct BufferRule {
    enum class Size {
        Fixed,          // `value` bytes
        CountParameter, // as many bytes as parameter `value` says
        AnsweredLength, // as many as the one-byte length parameter `value` holds after the call
        IsLength,       // the pointer is itself a one-byte length
    };
    Size size;
    int value;
    int limit = -1; // the buffer's size where the contract fixes it below the usual answer buffer
};

// The rules of a function by its log name; null for a function without byte buffers.
const std::vector<BufferRule> *ReaderBufferRules(std::string_view name);
