#pragma once
// The spooler over CUPS: the server the environment names (CUPS_SERVER,
// client.conf, or the local scheduler), as every CUPS client finds it.
// Queue names are compared exactly, case included.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Spooler.h"

namespace platform {

class CupsSpooler : public Spooler {
public:
    static constexpr std::chrono::milliseconds DefaultTimeLimit{10000};

    // `timeLimit`: the longest one call waits for the server, connecting
    // included; a call that runs out fails with NoAnswer. Once the server
    // did not answer, or dropped the connection, the later calls of the
    // action fail at once as that one did.
    explicit CupsSpooler(std::chrono::milliseconds timeLimit = DefaultTimeLimit);
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
    // Get-Job-Attributes: the job's state.
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
    Open* find(QueueHandle handle);
    // The jobs of an open queue, in a call under way.
    SpoolResult jobsOf(Open& o, Call& call, std::vector<JobRecord>& jobs);
    void finishOpenDocument(Open& o, Call& call);

    // A server that did not answer in this action, and how its call failed.
    struct Silence {
        std::string server;
        std::uint32_t error = 0;
    };

    std::chrono::milliseconds limit_;
    // The call under way, on whose time every connection waits; a wait
    // outside a call gives up at once.
    Call* call_ = nullptr;
    std::optional<Silence> silence_;
    std::map<QueueHandle, std::unique_ptr<Open>> handles_;
    QueueHandle next_ = 1;
};

}  // namespace platform
