#pragma once
// The spooler over CUPS: the server the environment names (CUPS_SERVER,
// client.conf, or the local scheduler), as every CUPS client finds it.
// Queue names are compared exactly, case included.

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Spooler.h"

struct http_addrlist_s;

namespace platform {

class CupsSpooler : public Spooler {
public:
    static constexpr std::chrono::milliseconds DefaultTimeLimit{10000};
    // How long the server keeps a watch of a queue's jobs that is not ended.
    static constexpr int WatchLeaseSeconds = 300;

    // Finds the addresses of a print server (with the port in each), as
    // httpAddrGetList does; null when there are none. It may take long.
    using Resolver = std::function<http_addrlist_s*(const std::string& host, int port)>;

    // `timeLimit`: the longest one call takes, from the look-up of the
    // server's address to the last byte of its answer; a call that runs out
    // fails with NoAnswer. Once the server did not answer, or dropped the
    // connection, the later calls of the action fail at once as that one
    // did. A look-up runs on a thread of its own, once per server: a call
    // waits for it within its own time, and a later call for the rest of it.
    // `resolver`: in place of the system's.
    explicit CupsSpooler(std::chrono::milliseconds timeLimit = DefaultTimeLimit, Resolver resolver = {});
    ~CupsSpooler() override;
    CupsSpooler(const CupsSpooler&) = delete;
    CupsSpooler& operator=(const CupsSpooler&) = delete;

    QueueHandle open(const std::string& name, Access access, std::uint32_t& error) override;
    void close(QueueHandle handle) override;
    SpoolResult readPrinter(QueueHandle handle, PrinterRecord& record) override;
    SpoolResult readJobs(QueueHandle handle, std::vector<JobRecord>& jobs) override;
    SpoolResult deleteJob(QueueHandle handle, std::uint32_t jobId) override;
    SpoolResult startDocument(QueueHandle handle, const std::string& documentName) override;
    SpoolResult startPage(QueueHandle handle) override;
    SpoolResult write(QueueHandle handle, const std::string& bytes, std::size_t& written) override;
    SpoolResult endPage(QueueHandle handle) override;
    SpoolResult endDocument(QueueHandle handle) override;
    QueueList queues() override;
    SpoolResult addQueue(const QueueSpec& spec) override;
    SpoolResult deleteQueue(const std::string& name) override;
    // CUPS-Get-Devices for the usb, parallel and serial backends only.
    DeviceList localDevices() override;
    // A subscription to the queue's job-completed and job-state-changed
    // events, pulled with Get-Notifications once a job is no longer found.
    SpoolResult watchJobs(const std::string& queue) override;
    void unwatchJobs(const std::string& queue) override;
    // Get-Job-Attributes: the job's state; "not found" alone says that the
    // server no longer knows the job.
    JobOutcome jobOutcome(const std::string& queue, std::uint32_t jobId) override;
    // The server CUPS_SERVER (or client.conf) names, its port when not the
    // usual one; empty for this machine's own.
    std::string serverName() const override;
    void newAction() override;
    std::chrono::milliseconds timeLimit() const override { return limit_; }
    bool silentInAction() const override;
    void noteSilence() override;

    // Status bits from printer-state, printer-state-reasons and printer-is-accepting-jobs.
    static std::uint32_t printerStatusBits(int printerState, const std::vector<std::string>& reasons,
                                           bool acceptingJobs);
    // Job status bits from job-state and job-state-reasons; the printer's
    // reasons add to a job the printer is working on.
    static std::uint32_t jobStatusBits(int jobState, const std::vector<std::string>& reasons,
                                       const std::vector<std::string>& printerReasons);
    // An IPP status as an error code.
    static std::uint32_t errorCode(int ippStatus);

protected:
    std::string defaultQueue() override;

private:
    struct Open;
    class Call;
    class Watchdog;
    struct Lookup;
    // A queue whose job events are kept: the subscription, the next event
    // to read, and the end state of each job an event told of.
    struct Watch {
        int subscription = 0;
        int watchers = 0;
        int nextEvent = 1;
        std::map<std::uint32_t, int> ends;
    };
    Open* find(QueueHandle handle);
    // The jobs of an open queue, in a call under way.
    SpoolResult jobsOf(Open& o, Call& call, std::vector<JobRecord>& jobs);
    void finishOpenDocument(Open& o, Call& call);
    void cancelJob(Call& call, const std::string& queue, int jobId);
    // Reads the watch's new events; false with `error` when that fails.
    bool readEvents(Call& call, const std::string& queue, Watch& watch, std::uint32_t& error);

    // A server that did not answer in this action, and how its call failed.
    struct Silence {
        std::string server;
        std::uint32_t error = 0;
    };

    std::chrono::milliseconds limit_;
    Resolver resolver_;
    // Look-ups by "HOST:PORT": under way, or done with the addresses found.
    std::map<std::string, std::shared_ptr<Lookup>> lookups_;
    std::unique_ptr<Watchdog> watchdog_;
    std::map<std::string, Watch> watches_;
    // The call under way, on whose time every connection waits; a wait
    // outside a call gives up at once.
    Call* call_ = nullptr;
    std::optional<Silence> silence_;
    std::map<QueueHandle, std::unique_ptr<Open>> handles_;
    QueueHandle next_ = 1;
};

}  // namespace platform
