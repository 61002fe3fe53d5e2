#pragma once

#include "reader/ReaderApi.h"

#include <QString>

#include <functional>

// Looks up one ordinal of a loaded library; null when the library does not export it.
using OrdinalResolver = std::function<void *(int ordinal)>;

// Fills `table` from `resolve` in the binding order. Returns false when a required entry is
// missing; the table is filled all the same, optional entries may stay null.
bool BindReaderApi(const OrdinalResolver &resolve, ReaderApiTable &table);

// The loaded reader library, owned by the application object. Loading takes the library from
// the full path given (the program's own folder), never from the search path.
class ReaderLibrary
{
public:
    ReaderLibrary() = default;
    ~ReaderLibrary();
    ReaderLibrary(const ReaderLibrary &) = delete;
    ReaderLibrary &operator=(const ReaderLibrary &) = delete;

    // Loads the library and binds `ReaderApi`. False when the file cannot be loaded or a
    // required ordinal is missing; a handle obtained before the failure is kept for free().
    bool load(const QString &fullPath);
    // Unloads the library and clears `ReaderApi`, so that no stale entry can be called.
    void free();

    bool isLoaded() const { return m_handle != nullptr; }

    // The library's file name on this platform, and its full path beside the program.
    static QString fileName();
    static QString defaultPath();
    // The full path of the library a --reader choice names: "simulated" the one beside the
    // program, "pcsc" the PC/SC reader library in readers/pcsc beside it, anything else a file
    // (made absolute, never looked up on the search path). Empty for an empty choice.
    static QString pathFor(const QString &choice);

private:
    void *m_handle = nullptr;
};
