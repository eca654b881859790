#include "platform/Spooler.h"

namespace platform {

const std::string& Spooler::currentPrinter() {
    if (!current_) current_ = defaultQueue();
    return *current_;
}

void Spooler::setCurrentPrinter(std::string name) { current_ = std::move(name); }

}  // namespace platform
