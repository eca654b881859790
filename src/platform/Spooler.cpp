#include "platform/Spooler.h"

namespace platform {

const std::string& Spooler::currentPrinter() {
    if (!current_) current_ = defaultQueue();
    return *current_;
}

void Spooler::setCurrentPrinter(std::string name) { current_ = std::move(name); }

SpoolResult Spooler::addQueue(const QueueSpec&) { return SpoolResult::failed(SpoolError::NotSupported); }

SpoolResult Spooler::deleteQueue(const std::string&) { return SpoolResult::failed(SpoolError::NotSupported); }

DeviceList Spooler::localDevices() { return {SpoolResult::failed(SpoolError::NotSupported), {}}; }

bool isLocalDeviceUri(const std::string& uri) {
    for (const char* scheme : {"usb:", "parallel:", "serial:"})
        if (uri.starts_with(scheme)) return true;
    return false;
}

std::string Spooler::serverName() const { return {}; }

void Spooler::newAction() {}

SpoolResult Spooler::watchJobs(const std::string&) { return SpoolResult::failed(SpoolError::NotSupported); }

void Spooler::unwatchJobs(const std::string&) {}

std::chrono::milliseconds Spooler::timeLimit() const { return std::chrono::seconds(10); }

bool Spooler::silentInAction() const { return false; }

void Spooler::noteSilence() {}

JobOutcome Spooler::jobOutcome(const std::string&, std::uint32_t) { return JobOutcome::Unknown; }

}  // namespace platform
