#pragma once
// A private CUPS scheduler for a test program: its own configuration, spool
// and logs in a temporary folder, listening on a random loopback address at
// a free port.
// Administration goes over IPP to that address only; the machine's own
// scheduler is never contacted.

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testsupport {

class CupsServer {
public:
    struct Options {
        // False: adding, changing and deleting queues and listing devices
        // are forbidden to everyone (a user without the right to administer).
        bool allowAdmin = true;
        // False: a job is forgotten as soon as it ends (PreserveJobHistory No).
        bool keepJobHistory = true;
        // IPP operations that ask for a password no test gives, say
        // "Get-Job-Attributes": every request of them fails.
        std::vector<std::string> locked;
    };

    // Starts cupsd and waits until it answers; throws std::runtime_error
    // (with the scheduler's log) when it does not.
    explicit CupsServer(std::chrono::milliseconds startTimeout = std::chrono::seconds(20));
    explicit CupsServer(Options options, std::chrono::milliseconds startTimeout = std::chrono::seconds(20));
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    std::uint16_t port() const { return port_; }
    // "ADDRESS:PORT", the value for CUPS_SERVER.
    std::string address() const;
    const std::filesystem::path& root() const { return root_; }
    std::string errorLog() const;

    // Restarts the server with or without the right to administer it; its
    // queues stay.
    void setAdminAllowed(bool allowed);
    // Restarts the server with other options; its queues stay.
    void restart(const Options& options);
    const Options& options() const { return options_; }

    // Backends: the server runs the system's backends from a folder of its
    // own, where a test may put a script in place of one (say "usb", to list
    // a device of its choice) and take it out again.
    void setBackend(const std::string& scheme, const std::string& script);
    void restoreBackend(const std::string& scheme);
    // A backend script that lists the given device lines (CLASS URI
    // "MAKE-AND-MODEL" "INFO" "DEVICE-ID" "LOCATION") and swallows jobs.
    static std::string listingBackend(const std::vector<std::string>& devices);
    // Makes the backend `scheme` one that refuses every job: it exits with 5
    // (the job is cancelled at the printer), or, `hangs`, marks the file
    // "hanging" in the returned folder and waits until the job is cancelled.
    std::filesystem::path setRefusingBackend(const std::string& scheme, bool hangs);

    // Queue administration.
    void addQueue(const std::string& name, const std::string& deviceUri);
    // A queue with a driver: the PPD file's *NickName becomes its make and model.
    void addQueueWithPpd(const std::string& name, const std::string& deviceUri, const std::string& ppdFile);
    void deleteQueue(const std::string& name);
    void pause(const std::string& name);
    void resume(const std::string& name);
    void setAccepting(const std::string& name, bool accepting);
    void setDefault(const std::string& name);
    void setReasons(const std::string& name, const std::vector<std::string>& reasons);

    // A queue attribute as text (a boolean as "true"/"false", an enum or
    // integer in decimal); empty when the queue or attribute is missing.
    std::string attribute(const std::string& queue, const std::string& name);

    struct Job {
        int id = 0;
        std::string name;
        int state = 0;  // IPP job-state
    };
    // Submits a raw document; a held job waits until released. Returns the job id.
    int submit(const std::string& queue, const std::string& documentName, const std::string& bytes, bool held = false);
    void release(int jobId);
    // The queue's jobs, not yet finished ones only unless `all`.
    std::vector<Job> jobs(const std::string& queue, bool all = false);
    void cancelAll(const std::string& queue);
    // A test's clean-up: cancels the jobs of each queue and deletes it, going
    // on past any failure.
    void removeQueues(const std::vector<std::string>& names);
    // True once the job has reached the given IPP state or a later one.
    bool waitForJobState(int jobId, int state, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    bool waitForIdle(const std::string& queue, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Whether a job of any queue is pending or processing: the scheduler
    // still has something to do (a stopped one has nothing). The jobs of
    // `stuckQueues` do not count: their device takes nothing, whatever the
    // scheduler tries.
    bool hasWork(const std::vector<std::string>& stuckQueues = {});

    void stop();
    // Stops the scheduler's process (SIGSTOP): it takes connections and
    // answers none until it goes on (SIGCONT).
    void stopProcess();
    void continueProcess();

private:
    void writeConfig();
    void start(std::chrono::milliseconds timeout);

    void makeServerBin();

    Options options_;
    std::filesystem::path root_;
    std::string host_;
    std::uint16_t port_ = 0;
    pid_t pid_ = -1;
    bool stopped_ = false;
};

// The server of the running test program, started by CupsEnvironment.
CupsServer& testScheduler();

// The test scheduler restarted with other options for the life of the
// object, then with the ones it had.
class SchedulerOptions {
public:
    explicit SchedulerOptions(const CupsServer::Options& options);
    ~SchedulerOptions();
    SchedulerOptions(const SchedulerOptions&) = delete;
    SchedulerOptions& operator=(const SchedulerOptions&) = delete;

private:
    CupsServer::Options before_;
};

// Points the process's CUPS clients at another server ("ADDRESS:PORT", as
// CUPS_SERVER takes it) for the life of the object, then back at the one
// they used before (the test scheduler, where one runs).
class UseServer {
public:
    explicit UseServer(const std::string& endpoint);
    ~UseServer();
    UseServer(const UseServer&) = delete;
    UseServer& operator=(const UseServer&) = delete;

private:
    std::optional<std::string> before_;
};

// Starts the server before the first test, points CUPS_SERVER at it, and
// stops it after the last one.
class CupsEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
};

}  // namespace testsupport
