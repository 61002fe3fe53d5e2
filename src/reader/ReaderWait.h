#pragma once

#include <functional>

// The fixed pauses between reader calls of a selection sequence (20 or 50 ms). They block the
// user-interface thread, as every reader call does. Tests may replace the wait to record it.
void ReaderWait(int milliseconds);

using ReaderWaitHandler = std::function<void(int milliseconds)>;
// An empty handler restores the real sleep; returns the previous handler.
ReaderWaitHandler SetReaderWaitHandler(ReaderWaitHandler handler);
