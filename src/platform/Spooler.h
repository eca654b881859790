#pragma once
// The print spooler as the wizards use it: open a queue by its exact name,
// read its record and its jobs, delete a job, spool one raw document, list
// the installed queues, and the process-wide current printer. The setup
// programs also add and delete queues and list the printers attached to
// this machine.
//
// Status values use the bit sets of the Windows spooler, since the status
// texts are built from them; error codes are Windows-style "last error"
// numbers. A call to a print server gives up after a bounded time: one that
// cannot be reached (or drops the connection) fails with ServerUnavailable,
// one that does not answer with NoAnswer.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// Queue status bits.
namespace PrinterStatus {
constexpr std::uint32_t Paused = 0x1;
constexpr std::uint32_t Error = 0x2;
constexpr std::uint32_t PendingDeletion = 0x4;
constexpr std::uint32_t PaperJam = 0x8;
constexpr std::uint32_t PaperOut = 0x10;
constexpr std::uint32_t ManualFeed = 0x20;
constexpr std::uint32_t PaperProblem = 0x40;
constexpr std::uint32_t Offline = 0x80;
constexpr std::uint32_t IoActive = 0x100;
constexpr std::uint32_t Busy = 0x200;
constexpr std::uint32_t Printing = 0x400;
constexpr std::uint32_t OutputBinFull = 0x800;
constexpr std::uint32_t NotAvailable = 0x1000;
constexpr std::uint32_t Waiting = 0x2000;
constexpr std::uint32_t Processing = 0x4000;
constexpr std::uint32_t Initializing = 0x8000;
constexpr std::uint32_t WarmingUp = 0x10000;
constexpr std::uint32_t TonerLow = 0x20000;
constexpr std::uint32_t NoToner = 0x40000;
constexpr std::uint32_t PagePunt = 0x80000;
constexpr std::uint32_t UserIntervention = 0x100000;
constexpr std::uint32_t OutOfMemory = 0x200000;
constexpr std::uint32_t DoorOpen = 0x400000;
constexpr std::uint32_t ServerUnknown = 0x800000;
constexpr std::uint32_t PowerSave = 0x1000000;
}  // namespace PrinterStatus

// Job status bits.
namespace JobStatus {
constexpr std::uint32_t Paused = 0x1;
constexpr std::uint32_t Error = 0x2;
constexpr std::uint32_t Deleting = 0x4;
constexpr std::uint32_t Spooling = 0x8;
constexpr std::uint32_t Printing = 0x10;
constexpr std::uint32_t Offline = 0x20;
constexpr std::uint32_t PaperOut = 0x40;
constexpr std::uint32_t Printed = 0x80;
constexpr std::uint32_t Deleted = 0x100;
constexpr std::uint32_t BlockedDevq = 0x200;
constexpr std::uint32_t UserIntervention = 0x400;
constexpr std::uint32_t Restart = 0x800;
constexpr std::uint32_t Complete = 0x1000;
}  // namespace JobStatus

// Error codes.
namespace SpoolError {
constexpr std::uint32_t None = 0;
constexpr std::uint32_t AccessDenied = 5;
constexpr std::uint32_t InvalidHandle = 6;
constexpr std::uint32_t NotReady = 21;
constexpr std::uint32_t GeneralFailure = 31;
constexpr std::uint32_t NotSupported = 50;
constexpr std::uint32_t InvalidParameter = 87;
constexpr std::uint32_t InsufficientBuffer = 122;
constexpr std::uint32_t NoAnswer = 1460;  // the server took too long to answer
constexpr std::uint32_t ServerUnavailable = 1722;
constexpr std::uint32_t InvalidPrinterName = 1801;
}  // namespace SpoolError

// Whether an error says that the print server could not be reached or did not answer.
constexpr bool serverSilent(std::uint32_t error) {
    return error == SpoolError::ServerUnavailable || error == SpoolError::NoAnswer;
}

using QueueHandle = std::int64_t;  // 0: none

enum class Access { Use, All };

// Outcome of a call. A read can fail before the record is reached at all
// (`early`, where the Windows spooler's size probe fails) or while reading it.
struct SpoolResult {
    std::uint32_t error = SpoolError::None;
    bool early = false;

    bool ok() const { return error == SpoolError::None; }
    bool serverSilent() const { return platform::serverSilent(error); }
    static SpoolResult success() { return {}; }
    static SpoolResult failed(std::uint32_t code, bool beforeRead = false) { return {code, beforeRead}; }
};

// Absent strings stand for the spooler's null pointers.
struct PrinterRecord {
    std::optional<std::string> name;
    std::optional<std::string> driver;
    std::optional<std::string> port;
    std::uint32_t status = 0;
};

struct JobRecord {
    std::uint32_t id = 0;
    std::optional<std::string> document;
    std::optional<std::string> statusText;  // absent: render the status bits
    std::uint32_t status = 0;
    std::uint32_t totalPages = 0;
};

// A queue to add.
struct QueueSpec {
    std::string name;
    std::string deviceUri;
    std::string ppdFile;      // empty: a raw queue
    std::string info;         // the description queue lists show; may be empty
    std::string errorPolicy;  // "retry-current-job", "stop-printer", ...; empty: the server's default
};

// What became of a job the spooler took.
enum class JobOutcome {
    Unknown,    // the spooler no longer knows the job, and does not watch its queue
    Pending,    // still in the queue
    Completed,  // handed to the printer
    Canceled,   // deleted before it was done
    Aborted,    // the spooler gave up on it (the printer refused it)
    Failed,     // the spooler's answer was an error or held no state, or its watch saw no end of a job it forgot
    NoAnswer,   // the print server could not be reached or did not answer
};

// A printer attached to this machine, as the spooler's device list shows it.
struct LocalDevice {
    std::string deviceClass;  // "direct", "serial", ...
    std::string uri;
    std::string makeAndModel;
    std::string deviceId;  // IEEE 1284 device ID
    std::string info;
};

struct DeviceList {
    SpoolResult result;
    std::vector<LocalDevice> devices;
    bool ok() const { return result.ok(); }
};

struct QueueList {
    SpoolResult result;
    std::vector<std::string> names;
    bool ok() const { return result.ok(); }
};

// The device URI schemes of printers attached to this machine.
bool isLocalDeviceUri(const std::string& uri);

class Spooler {
public:
    virtual ~Spooler() = default;

    // Opens a queue whose name equals `name` exactly; 0 on failure with `error` set.
    virtual QueueHandle open(const std::string& name, Access access, std::uint32_t& error) = 0;
    virtual void close(QueueHandle handle) = 0;

    virtual SpoolResult readPrinter(QueueHandle handle, PrinterRecord& record) = 0;
    // The jobs not yet finished, in the spooler's order.
    virtual SpoolResult readJobs(QueueHandle handle, std::vector<JobRecord>& jobs) = 0;
    virtual SpoolResult deleteJob(QueueHandle handle, std::uint32_t jobId) = 0;

    // One raw document: start, pages, writes, end.
    virtual SpoolResult startDocument(QueueHandle handle, const std::string& documentName) = 0;
    virtual SpoolResult startPage(QueueHandle handle) = 0;
    virtual SpoolResult write(QueueHandle handle, const std::string& bytes, std::size_t& written) = 0;
    virtual SpoolResult endPage(QueueHandle handle) = 0;
    virtual SpoolResult endDocument(QueueHandle handle) = 0;

    // Installed queues, in the order the spooler lists them.
    virtual QueueList queues() = 0;

    // Adds a queue, enabled and accepting jobs; an existing queue of that
    // name takes the new settings. Needs the right to administer queues.
    virtual SpoolResult addQueue(const QueueSpec& spec);
    // Deletes a queue; one that does not exist counts as deleted.
    virtual SpoolResult deleteQueue(const std::string& name);
    // Printers on this machine's USB, parallel and serial ports; never looks
    // on the network.
    virtual DeviceList localDevices();

    // Watches the jobs of a queue until unwatchJobs, so that the end of a job
    // the spooler no longer lists can still be told. Started before the job
    // is sent; a spooler that keeps no record of ended jobs refuses.
    virtual SpoolResult watchJobs(const std::string& queue);
    virtual void unwatchJobs(const std::string& queue);
    // What became of a job of the named queue, finished ones included; the
    // end of a job the spooler no longer knows as the watch of its queue saw it.
    virtual JobOutcome jobOutcome(const std::string& queue, std::uint32_t jobId);
    // The job the last document ended successfully became; 0 when the last
    // document failed or none was spooled.
    std::uint32_t lastJobId() const { return lastJob_; }

    // The print server as the user named it; empty for this machine's own.
    virtual std::string serverName() const;

    // The user acts anew. Once the print server did not answer a call, a
    // spooler may fail the later calls of the same action at once, as that
    // one failed, without asking the server again.
    virtual void newAction();

    // The longest one call waits for the print server.
    virtual std::chrono::milliseconds timeLimit() const;
    // Whether the print server did not answer in this action, so that the
    // later calls of the action fail at once.
    virtual bool silentInAction() const;
    // A program working on the print server for the wizard found it silent:
    // the later calls of the action fail at once, as after a call of the
    // spooler's own that got no answer.
    virtual void noteSilence();

    // The queue spooler output goes to: the default queue until set.
    const std::string& currentPrinter();
    void setCurrentPrinter(std::string name);

protected:
    // The spooler's default queue; empty when there is none.
    virtual std::string defaultQueue() = 0;
    void setLastJobId(std::uint32_t id) { lastJob_ = id; }

private:
    std::optional<std::string> current_;
    std::uint32_t lastJob_ = 0;
};

}  // namespace platform
