#include "foundation/JobWatch.h"

#include <string>
#include <utility>

#include "foundation/WizardModule.h"
#include "platform/Platform.h"
#include "platform/Spooler.h"

namespace foundation {

JobWatch::JobWatch(WizardModule& module, std::string queue) : m_(module), queue_(std::move(queue)) {
    // No queue, no job to watch.
    if (queue_.empty()) return;
    const platform::SpoolResult watched = m_.os().spooler().watchJobs(queue_);
    watching_ = watched.ok();
    // A server that does not answer is met by the calls that follow.
    if (!watched.ok() && !watched.serverSilent())
        m_.WriteLog("No job events from the spooler for " + queue_ + " (error " + std::to_string(watched.error) +
                    "): a job it no longer lists counts as delivered");
}

JobWatch::~JobWatch() {
    if (watching_) m_.os().spooler().unwatchJobs(queue_);
}

}  // namespace foundation
