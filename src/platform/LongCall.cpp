#include "platform/LongCall.h"

namespace platform {

namespace {
LongCallHook hook;
int depth = 0;
}  // namespace

void setLongCallHook(LongCallHook h) { hook = std::move(h); }

LongCall::LongCall() {
    if (depth++ == 0 && hook.begin) hook.begin();
}

LongCall::~LongCall() {
    if (--depth == 0 && hook.end) hook.end();
}

}  // namespace platform
