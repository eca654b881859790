#pragma once
// The spooler watches the jobs of a queue for as long as this lives, so that
// it can tell how a job ended that it no longer lists. Where the spooler
// refuses, a job it no longer knows counts as having left the queue, and the
// debug log says so.

#include <string>

namespace foundation {

class WizardModule;

class JobWatch {
public:
    JobWatch(WizardModule& module, std::string queue);
    ~JobWatch();
    JobWatch(const JobWatch&) = delete;
    JobWatch& operator=(const JobWatch&) = delete;

private:
    WizardModule& m_;
    std::string queue_;
    bool watching_ = false;
};

}  // namespace foundation
