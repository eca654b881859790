#pragma once
// Calls that may keep the calling thread waiting for long (a print server
// that takes its time to answer) say so to one process-wide hook, so that
// the program can show that it waits: a window system its busy cursor.

#include <functional>

namespace platform {

struct LongCallHook {
    std::function<void()> begin;  // as the first of nested long calls starts
    std::function<void()> end;    // as the last of them ends
};

// Replaces the hook; the default one does nothing.
void setLongCallHook(LongCallHook hook);

// One long call, for as long as it lives.
class LongCall {
public:
    LongCall();
    ~LongCall();
    LongCall(const LongCall&) = delete;
    LongCall& operator=(const LongCall&) = delete;
};

}  // namespace platform
