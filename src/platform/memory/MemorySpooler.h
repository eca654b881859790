#pragma once
// The spooler of the unit tests: queues, states and jobs set by the test,
// failures injected per queue and call, every call recorded.

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/Spooler.h"

namespace platform {

class MemorySpooler : public Spooler {
public:
    struct Queue {
        PrinterRecord record;
        std::vector<JobRecord> jobs;

        // Injected failures.
        std::uint32_t openError = 0;  // open fails with this code
        bool denyAllAccess = false;   // open with Access::All fails with AccessDenied
        SpoolResult printerResult;    // readPrinter
        SpoolResult jobsResult;       // readJobs
        SpoolResult deleteResult;     // deleteJob
        SpoolResult startDocumentResult;
        SpoolResult startPageResult;
        SpoolResult writeResult;
        SpoolResult endPageResult;
        SpoolResult endDocumentResult;
        std::size_t writeLimit = static_cast<std::size_t>(-1);  // bytes one write takes at most

        // How addQueue made the queue (empty name: the test added it).
        QueueSpec spec;
    };

    // A document as it went through the calls.
    struct Document {
        std::string queue;
        std::string name;
        std::uint32_t jobId = 0;
        std::string bytes;
        int pages = 0;
        bool ended = false;
    };

    // Adds a queue (its record named after it) in listing order.
    Queue& addQueue(const std::string& name, const std::string& driver = "Generic / Text Only",
                    const std::string& port = "LPT1:", std::uint32_t status = 0);
    Queue& queue(const std::string& name);
    void removeQueue(const std::string& name);
    void setDefaultQueue(std::string name) { default_ = std::move(name); }

    // Adds a job to a queue; returns its id.
    std::uint32_t addJob(const std::string& queue, std::optional<std::string> document, std::uint32_t status = 0,
                         std::uint32_t totalPages = 0, std::optional<std::string> statusText = std::nullopt);

    // Calls as "open Q use", "readJobs Q", "delete Q 12", "write Q 5 bytes", ...
    std::vector<std::string> calls;
    // Runs as each call is recorded: a test may change the spooler there
    // for the calls after it.
    std::function<void(const std::string& call)> onCall;
    std::vector<Document> documents;
    std::uint32_t nextJobId = 1;
    // Outcomes of jobs no longer queued; a job of an ended document that is
    // not listed here counts as completed.
    std::map<std::uint32_t, JobOutcome> outcomes;

    // What localDevices() reports, and its outcome.
    std::vector<LocalDevice> devices;
    SpoolResult devicesResult;
    // Outcomes of addQueue and deleteQueue (AccessDenied: no right to administer).
    SpoolResult addQueueResult;
    SpoolResult deleteQueueResult;
    // Outcome of queues().
    SpoolResult queuesResult;
    // Outcome of watchJobs().
    SpoolResult watchResult;
    // What serverName() reports.
    std::string server;
    // Whether the print server counts as silent in this action: set by the
    // test or by noteSilence(), and kept until the test clears it.
    bool silentServer = false;

    // Handles not yet closed.
    std::size_t openHandles() const { return handles_.size(); }

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
    // A raw queue's driver is "Local Raw Printer"; a PPD queue's is the
    // file's *NickName.
    SpoolResult addQueue(const QueueSpec& spec) override;
    SpoolResult deleteQueue(const std::string& name) override;
    DeviceList localDevices() override;
    SpoolResult watchJobs(const std::string& queue) override;
    void unwatchJobs(const std::string& queue) override;
    JobOutcome jobOutcome(const std::string& queue, std::uint32_t jobId) override;
    std::string serverName() const override { return server; }
    bool silentInAction() const override { return silentServer; }
    void noteSilence() override { silentServer = true; }

protected:
    std::string defaultQueue() override;

private:
    struct Open {
        std::string queue;
        Access access = Access::Use;
        int document = -1;  // index into documents while one is open
    };
    void note(std::string call);
    Queue* find(const std::string& name);
    Open* handle(QueueHandle h);
    JobRecord* documentJob(Open& o);

    std::vector<std::pair<std::string, Queue>> queues_;
    std::map<QueueHandle, Open> handles_;
    QueueHandle nextHandle_ = 1;
    std::string default_;
};

}  // namespace platform
