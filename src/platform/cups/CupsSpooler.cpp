#include "platform/cups/CupsSpooler.h"
#include "platform/LongCall.h"
#include "platform/cups/CupsHandles.h"

#include <cups/cups.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

namespace platform {

namespace {

using cups::Http;
using cups::Ipp;
using SteadyClock = std::chrono::steady_clock;
using std::chrono::milliseconds;

http_addrlist_t* systemResolver(const std::string& host, int port) {
    return httpAddrGetList(host.c_str(), AF_UNSPEC, std::to_string(port).c_str());
}

// The server the environment names now.
std::string namedServer() { return std::string(cupsServer()) + ":" + std::to_string(ippPort()); }

std::string printerUri(const std::string& name) {
    char uri[HTTP_MAX_URI];
    httpAssembleURIf(HTTP_URI_CODING_ALL, uri, sizeof uri, "ipp", nullptr, "localhost", ippPort(), "/printers/%s",
                     name.c_str());
    return uri;
}

ipp_t* request(ipp_op_t op, const std::string& queue) {
    ipp_t* r = ippNewRequest(op);
    if (!queue.empty())
        ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri(queue).c_str());
    ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    return r;
}

void requestAttributes(ipp_t* r, std::initializer_list<const char*> names) {
    std::vector<const char*> v(names);
    ippAddStrings(r, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", static_cast<int>(v.size()), nullptr,
                  v.data());
}

// No request asks for a password: without the right, it fails.
const char* noPassword(const char*, http_t*, const char*, const char*, void*) { return nullptr; }

std::optional<std::string> text(ipp_t* p, const char* name) {
    ipp_attribute_t* a = ippFindAttribute(p, name, IPP_TAG_ZERO);
    if (!a) return std::nullopt;
    const char* s = ippGetString(a, 0, nullptr);
    if (!s) return std::nullopt;
    return std::string(s);
}

std::vector<std::string> keywords(ipp_attribute_t* a) {
    std::vector<std::string> out;
    if (!a) return out;
    for (int i = 0; i < ippGetCount(a); ++i)
        if (const char* s = ippGetString(a, i, nullptr)) out.emplace_back(s);
    return out;
}

// "media-empty-error" -> "media-empty"
std::string baseReason(const std::string& reason) {
    for (const char* suffix : {"-error", "-warning", "-report"}) {
        std::size_t n = std::strlen(suffix);
        if (reason.size() > n && reason.compare(reason.size() - n, n, suffix) == 0)
            return reason.substr(0, reason.size() - n);
    }
    return reason;
}

bool hasErrorSuffix(const std::string& reason) {
    return reason.size() > 6 && reason.compare(reason.size() - 6, 6, "-error") == 0;
}

struct ReasonBit {
    const char* reason;
    std::uint32_t bit;
};

const ReasonBit PrinterReasons[] = {
    {"paused", PrinterStatus::Paused},
    {"media-empty", PrinterStatus::PaperOut},
    {"media-needed", PrinterStatus::PaperOut},
    {"media-jam", PrinterStatus::PaperJam},
    {"door-open", PrinterStatus::DoorOpen},
    {"cover-open", PrinterStatus::DoorOpen},
    {"interlock-open", PrinterStatus::DoorOpen},
    {"toner-low", PrinterStatus::TonerLow},
    {"marker-supply-low", PrinterStatus::TonerLow},
    {"toner-empty", PrinterStatus::NoToner},
    {"marker-supply-empty", PrinterStatus::NoToner},
    {"offline", PrinterStatus::Offline},
    {"shutdown", PrinterStatus::Offline},
    {"timed-out", PrinterStatus::Offline},
    {"output-area-full", PrinterStatus::OutputBinFull},
    {"spool-area-full", PrinterStatus::OutOfMemory},
    {"input-tray-missing", PrinterStatus::PaperProblem},
    {"fuser-under-temp", PrinterStatus::WarmingUp},
    {"deactivated", PrinterStatus::NotAvailable},
    {"cups-missing-filter", PrinterStatus::Error},
    {"cups-insecure-filter", PrinterStatus::Error},
};

// What the printer's trouble means for the job it is printing.
const ReasonBit ActiveJobPrinterReasons[] = {
    {"offline", JobStatus::Offline},
    {"shutdown", JobStatus::Offline},
    {"timed-out", JobStatus::Offline},
    {"media-empty", JobStatus::PaperOut},
    {"media-needed", JobStatus::PaperOut},
    {"media-jam", JobStatus::UserIntervention},
    {"door-open", JobStatus::UserIntervention},
    {"cover-open", JobStatus::UserIntervention},
    {"interlock-open", JobStatus::UserIntervention},
};

const ReasonBit JobReasons[] = {
    {"job-incoming", JobStatus::Spooling},
    {"job-data-insufficient", JobStatus::Spooling},
    {"job-printing", JobStatus::Printing},
    {"processing-to-stop-point", JobStatus::Deleting},
};

template <std::size_t N>
std::uint32_t lookup(const ReasonBit (&table)[N], const std::string& reason) {
    std::string base = baseReason(reason);
    for (const ReasonBit& r : table)
        if (base == r.reason) return r.bit;
    return 0;
}

}  // namespace

// A look-up of a server's addresses, on a thread of its own that ends when
// the resolver answers, whoever still waits for it.
struct CupsSpooler::Lookup {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    http_addrlist_t* addresses = nullptr;
    ~Lookup() { httpAddrFreeList(addresses); }
};

// Cuts the connections of calls off at their ends, on a thread of its own:
// libcups asks whether to wait on only after a time without data, so a
// server that trickles its answer would keep a call waiting past its end.
class CupsSpooler::Watchdog {
public:
    ~Watchdog() {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
        }
        wake_.notify_all();
        if (thread_.joinable()) thread_.join();
    }

    // Watches a call until `end`; `cut` is set as its connections are cut.
    void add(const void* call, SteadyClock::time_point end, std::atomic<bool>& cut) {
        std::lock_guard lock(mutex_);
        if (!thread_.joinable()) thread_ = std::thread([this] { run(); });
        calls_[call] = Watched{end, &cut, {}};
        wake_.notify_all();
    }
    // A connection of the call. The watchdog keeps a descriptor of its own,
    // so that it never cuts a socket that took the number of a closed one.
    void watch(const void* call, int socket) {
        struct stat known;
        if (socket < 0 || ::fstat(socket, &known) != 0) return;
        std::lock_guard lock(mutex_);
        auto it = calls_.find(call);
        if (it == calls_.end()) return;
        for (const auto& [inode, own] : it->second.sockets)
            if (inode == known.st_ino) return;
        const int own = ::fcntl(socket, F_DUPFD_CLOEXEC, 0);
        if (own < 0) return;
        if (*it->second.cut) ::shutdown(own, SHUT_RDWR);
        it->second.sockets.emplace_back(known.st_ino, own);
    }
    void remove(const void* call) {
        std::lock_guard lock(mutex_);
        auto it = calls_.find(call);
        if (it == calls_.end()) return;
        for (const auto& socket : it->second.sockets) ::close(socket.second);
        calls_.erase(it);
    }

private:
    struct Watched {
        SteadyClock::time_point end;
        std::atomic<bool>* cut;
        std::vector<std::pair<ino_t, int>> sockets;  // the socket, and our descriptor of it
    };

    void run() {
        std::unique_lock lock(mutex_);
        while (!stop_) {
            std::optional<SteadyClock::time_point> next;
            const auto now = SteadyClock::now();
            for (auto& [call, w] : calls_) {
                if (*w.cut) continue;
                if (w.end <= now) {
                    *w.cut = true;
                    for (const auto& socket : w.sockets) ::shutdown(socket.second, SHUT_RDWR);
                } else if (!next || w.end < *next) {
                    next = w.end;
                }
            }
            if (next)
                wake_.wait_until(lock, *next);
            else
                wake_.wait(lock);
        }
    }

    std::mutex mutex_;
    std::condition_variable wake_;
    std::map<const void*, Watched> calls_;
    bool stop_ = false;
    std::thread thread_;
};

// One call to the server, from its start to its end: the time it may take
// (every connection waits on the call under way, and is cut off at its
// end), the busy signal while it runs, and whether the server answered.
// While the server is silent in this action, a call is refused before it
// asks. No request asks for a password.
class CupsSpooler::Call {
public:
    explicit Call(CupsSpooler& spooler)
        : spooler_(spooler), outer_(spooler.call_), deadline_(SteadyClock::now() + spooler.limit_) {
        if (spooler_.silence_ && spooler_.silence_->server == namedServer()) refused_ = spooler_.silence_->error;
        if (!refused_) {
            busy_.emplace();
            if (!spooler_.watchdog_) spooler_.watchdog_ = std::make_unique<Watchdog>();
            spooler_.watchdog_->add(this, deadline_, gaveUp_);
        }
        cupsSetPasswordCB2(noPassword, nullptr);
        spooler_.call_ = this;
    }
    ~Call() {
        if (!refused_) spooler_.watchdog_->remove(this);
        spooler_.call_ = outer_;
        if (!outer_) cupsSetPasswordCB2(nullptr, nullptr);
    }
    Call(const Call&) = delete;
    Call& operator=(const Call&) = delete;

    // The error of a call made while the server is silent; 0 when it may ask.
    std::uint32_t refused() const { return refused_; }
    // The IPP status of the last request.
    ipp_status_t status() const { return status_; }

    // A connection in the time left, or null with the error.
    Http connect(std::uint32_t& error) {
        const std::string host = cupsServer();
        const int port = ippPort();
        // A local socket needs no look-up.
        http_addrlist_t* addresses = nullptr;
        if (host.empty() || host.front() != '/') {
            addresses = lookUp(host, port, error);
            if (!addresses) return nullptr;
        }
        const auto left = msLeft();
        if (left <= 0) {
            gaveUp_ = true;
            error = noted(SpoolError::NoAnswer);
            return nullptr;
        }
        Http http(httpConnect2(host.c_str(), port, addresses, AF_UNSPEC, cupsEncryption(), 1, static_cast<int>(left),
                               nullptr));
        if (!http) {
            error = noted(SpoolError::ServerUnavailable);
            return nullptr;
        }
        watch(http.get());
        error = SpoolError::None;
        return http;
    }

    // A connection of this call, made in it or in another one: it waits on
    // this call's time, and is cut off at its end.
    void watch(http_t* http) {
        if (!refused_) spooler_.watchdog_->watch(this, httpGetFd(http));
        waitTimeLeft(http);
    }

    // The error of a step on `http` that failed with `status`: NoAnswer when
    // the server let the time run out, ServerUnavailable when the connection
    // broke off without an answer.
    std::uint32_t failure(http_t* http, ipp_status_t status) {
        status_ = status;
        if (gaveUp_) return noted(SpoolError::NoAnswer);
        if (http && httpGetStatus(http) == HTTP_STATUS_ERROR) return noted(SpoolError::ServerUnavailable);
        const std::uint32_t error = errorCode(status);
        return noted(error ? error : SpoolError::GeneralFailure);
    }

    // Sends the request (and the file, if any); the response when it
    // succeeded, else null with `error` set.
    Ipp send(http_t* http, ipp_t* req, std::uint32_t& error, const char* resource = "/", const char* file = nullptr) {
        Ipp response(cupsDoFileRequest(http, req, resource, file));
        status_ = cupsLastError();
        if (!response || status_ > IPP_STATUS_OK_EVENTS_COMPLETE) {
            error = failure(http, status_);
            return nullptr;
        }
        error = SpoolError::None;
        return response;
    }

    // One request on a connection of its own; ServerUnavailable when no
    // connection is made.
    Ipp send(ipp_t* req, std::uint32_t& error, const char* resource = "/", const char* file = nullptr) {
        Http http = connect(error);
        if (!http) {
            ippDelete(req);
            return nullptr;
        }
        return send(http.get(), req, error, resource, file);
    }

    // An administrative request (with a PPD file, if any).
    SpoolResult administer(ipp_t* req, const std::string& ppdFile = {}) {
        std::uint32_t error = refused_;
        if (error) {
            ippDelete(req);
            return SpoolResult::failed(error);
        }
        Ipp response = send(req, error, "/admin/", ppdFile.empty() ? nullptr : ppdFile.c_str());
        return response ? SpoolResult::success() : SpoolResult::failed(error);
    }

private:
    long long msLeft() const {
        return std::chrono::duration_cast<milliseconds>(deadline_ - SteadyClock::now()).count();
    }

    // The server's addresses, looked up once; a wait for them takes from
    // this call's time. Null with `error` when there are none, or none yet.
    http_addrlist_t* lookUp(const std::string& host, int port, std::uint32_t& error) {
        const std::string key = host + ":" + std::to_string(port);
        std::shared_ptr<Lookup> lookup = spooler_.lookups_[key];
        if (!lookup) {
            lookup = spooler_.lookups_[key] = std::make_shared<Lookup>();
            try {
                std::thread([lookup, resolve = spooler_.resolver_, host, port] {
                    http_addrlist_t* found = resolve(host, port);
                    std::lock_guard lock(lookup->mutex);
                    lookup->addresses = found;
                    lookup->finished = true;
                    lookup->done.notify_all();
                }).detach();
            } catch (const std::system_error&) {
                spooler_.lookups_.erase(key);
                error = noted(SpoolError::ServerUnavailable);
                return nullptr;
            }
        }
        std::unique_lock lock(lookup->mutex);
        if (!lookup->done.wait_until(lock, deadline_, [&] { return lookup->finished; })) {
            gaveUp_ = true;
            error = noted(SpoolError::NoAnswer);
            return nullptr;
        }
        if (!lookup->addresses) {
            // No such server: the next action looks again.
            lock.unlock();
            spooler_.lookups_.erase(key);
            error = noted(SpoolError::ServerUnavailable);
            return nullptr;
        }
        return lookup->addresses;
    }

    // A wait for data lasts the time left. libcups reads a response without
    // asking keepWaiting when a wait runs out between two of its parts, so
    // a shorter wait would fail a server that pauses between them; the
    // watchdog cuts a trickle off at the end.
    void waitTimeLeft(http_t* http) {
        const milliseconds left = std::max(milliseconds(msLeft()), milliseconds(1));
        httpSetTimeout(http, std::chrono::duration<double>(left).count(), keepWaiting, &spooler_);
    }

    // libcups asks, when a wait runs out, whether to wait on.
    static int keepWaiting(http_t* http, void* data) {
        Call* call = static_cast<CupsSpooler*>(data)->call_;
        if (!call) return 0;
        if (call->gaveUp_ || call->msLeft() <= 0) {
            call->gaveUp_ = true;
            return 0;
        }
        call->waitTimeLeft(http);
        return 1;
    }

    // A silent server is remembered for the rest of the action.
    std::uint32_t noted(std::uint32_t error) {
        if (serverSilent(error)) spooler_.silence_ = Silence{namedServer(), error};
        return error;
    }

    CupsSpooler& spooler_;
    Call* outer_;
    SteadyClock::time_point deadline_;
    std::atomic<bool> gaveUp_{false};
    std::uint32_t refused_ = 0;
    ipp_status_t status_ = IPP_STATUS_OK;
    std::optional<LongCall> busy_;
};

struct CupsSpooler::Open {
    std::string queue;
    Access access = Access::Use;
    // The document being spooled.
    Http document;
    int jobId = 0;
    // How a write of the document failed; 0 while none did.
    std::uint32_t documentError = 0;
};

CupsSpooler::CupsSpooler(std::chrono::milliseconds timeLimit, Resolver resolver)
    : limit_(timeLimit), resolver_(resolver ? std::move(resolver) : Resolver(systemResolver)) {}

CupsSpooler::~CupsSpooler() {
    for (auto& [h, o] : handles_) {
        if (!o->document) continue;
        Call call(*this);
        finishOpenDocument(*o, call);
    }
}

std::uint32_t CupsSpooler::errorCode(int ippStatus) {
    switch (static_cast<ipp_status_t>(ippStatus)) {
        case IPP_STATUS_OK:
        case IPP_STATUS_OK_IGNORED_OR_SUBSTITUTED:
        case IPP_STATUS_OK_CONFLICTING:
        case IPP_STATUS_OK_EVENTS_COMPLETE:
            return SpoolError::None;
        case IPP_STATUS_ERROR_NOT_FOUND:
        case IPP_STATUS_ERROR_GONE:
            return SpoolError::InvalidPrinterName;
        case IPP_STATUS_ERROR_FORBIDDEN:
        case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
        case IPP_STATUS_ERROR_NOT_AUTHORIZED:
        case IPP_STATUS_ERROR_CUPS_AUTHENTICATION_CANCELED:
        case IPP_STATUS_ERROR_CUPS_ACCOUNT_AUTHORIZATION_FAILED:
            return SpoolError::AccessDenied;
        case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
            return SpoolError::ServerUnavailable;
        case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
            return SpoolError::NotReady;
        case IPP_STATUS_ERROR_BAD_REQUEST:
        case IPP_STATUS_ERROR_ATTRIBUTES_OR_VALUES:
            return SpoolError::InvalidParameter;
        default:
            return SpoolError::GeneralFailure;
    }
}

std::uint32_t CupsSpooler::printerStatusBits(int printerState, const std::vector<std::string>& reasons,
                                             bool acceptingJobs) {
    std::uint32_t bits = 0;
    if (printerState == IPP_PSTATE_PROCESSING) bits |= PrinterStatus::Printing;
    if (printerState == IPP_PSTATE_STOPPED) bits |= PrinterStatus::Paused;
    if (!acceptingJobs) bits |= PrinterStatus::NotAvailable;
    for (const auto& reason : reasons) {
        std::uint32_t bit = lookup(PrinterReasons, reason);
        if (!bit && hasErrorSuffix(reason)) bit = PrinterStatus::Error;
        bits |= bit;
    }
    return bits;
}

std::uint32_t CupsSpooler::jobStatusBits(int jobState, const std::vector<std::string>& reasons,
                                         const std::vector<std::string>& printerReasons) {
    std::uint32_t bits = 0;
    switch (jobState) {
        case IPP_JSTATE_HELD:
            bits |= JobStatus::Paused;
            break;
        case IPP_JSTATE_PROCESSING:
            bits |= JobStatus::Printing;
            break;
        case IPP_JSTATE_STOPPED:
            bits |= JobStatus::Error;
            break;
        case IPP_JSTATE_CANCELED:
            bits |= JobStatus::Deleted;
            break;
        case IPP_JSTATE_ABORTED:
            bits |= JobStatus::Error;
            break;
        case IPP_JSTATE_COMPLETED:
            bits |= JobStatus::Printed;
            break;
        default:
            break;
    }
    for (const auto& reason : reasons) bits |= lookup(JobReasons, reason);
    if (jobState == IPP_JSTATE_PROCESSING || jobState == IPP_JSTATE_STOPPED)
        for (const auto& reason : printerReasons) bits |= lookup(ActiveJobPrinterReasons, reason);
    return bits;
}

CupsSpooler::Open* CupsSpooler::find(QueueHandle handle) {
    auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : it->second.get();
}

QueueHandle CupsSpooler::open(const std::string& name, Access access, std::uint32_t& error) {
    error = SpoolError::None;
    if (name.empty()) {
        error = SpoolError::InvalidPrinterName;
        return 0;
    }
    Call call(*this);
    if ((error = call.refused())) return 0;
    auto o = std::make_unique<Open>();
    o->queue = name;
    o->access = access;
    ipp_t* req = request(IPP_OP_GET_PRINTER_ATTRIBUTES, name);
    requestAttributes(req, {"printer-name"});
    Ipp response = call.send(req, error);
    if (!response) return 0;
    // The scheduler finds queues whatever the letter case; we do not.
    if (text(response.get(), "printer-name") != name) {
        error = SpoolError::InvalidPrinterName;
        return 0;
    }
    QueueHandle h = next_++;
    handles_[h] = std::move(o);
    return h;
}

void CupsSpooler::close(QueueHandle handle) {
    auto it = handles_.find(handle);
    if (it == handles_.end()) return;
    if (it->second->document) {
        Call call(*this);
        finishOpenDocument(*it->second, call);
    }
    handles_.erase(it);
}

SpoolResult CupsSpooler::readPrinter(QueueHandle handle, PrinterRecord& record) {
    Open* o = find(handle);
    if (!o) return SpoolResult::failed(SpoolError::InvalidHandle, true);
    Call call(*this);
    if (std::uint32_t refused = call.refused()) return SpoolResult::failed(refused);
    ipp_t* req = request(IPP_OP_GET_PRINTER_ATTRIBUTES, o->queue);
    requestAttributes(req, {"printer-name", "printer-make-and-model", "device-uri", "printer-state",
                            "printer-state-reasons", "printer-is-accepting-jobs"});
    std::uint32_t error = 0;
    Ipp response = call.send(req, error);
    if (!response) return SpoolResult::failed(error);
    PrinterRecord r;
    r.name = text(response.get(), "printer-name");
    r.driver = text(response.get(), "printer-make-and-model");
    r.port = text(response.get(), "device-uri");
    ipp_attribute_t* state = ippFindAttribute(response.get(), "printer-state", IPP_TAG_ENUM);
    ipp_attribute_t* accepting = ippFindAttribute(response.get(), "printer-is-accepting-jobs", IPP_TAG_BOOLEAN);
    r.status = printerStatusBits(state ? ippGetInteger(state, 0) : IPP_PSTATE_IDLE,
                                 keywords(ippFindAttribute(response.get(), "printer-state-reasons", IPP_TAG_KEYWORD)),
                                 accepting ? ippGetBoolean(accepting, 0) != 0 : true);
    record = std::move(r);
    return SpoolResult::success();
}

SpoolResult CupsSpooler::readJobs(QueueHandle handle, std::vector<JobRecord>& jobs) {
    Open* o = find(handle);
    if (!o) return SpoolResult::failed(SpoolError::InvalidHandle, true);
    Call call(*this);
    return jobsOf(*o, call, jobs);
}

SpoolResult CupsSpooler::jobsOf(Open& o, Call& call, std::vector<JobRecord>& jobs) {
    if (std::uint32_t refused = call.refused()) return SpoolResult::failed(refused);
    std::uint32_t error = 0;
    Http http = call.connect(error);
    if (!http) return SpoolResult::failed(error);

    ipp_t* preq = request(IPP_OP_GET_PRINTER_ATTRIBUTES, o.queue);
    requestAttributes(preq, {"printer-state-reasons"});
    Ipp printer = call.send(http.get(), preq, error);
    if (!printer) return SpoolResult::failed(error);
    const auto printerReasons = keywords(ippFindAttribute(printer.get(), "printer-state-reasons", IPP_TAG_KEYWORD));

    ipp_t* req = request(IPP_OP_GET_JOBS, o.queue);
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "not-completed");
    requestAttributes(req,
                      {"job-id", "job-name", "job-state", "job-state-reasons", "job-impressions", "job-media-sheets"});
    Ipp response = call.send(http.get(), req, error);
    if (!response) return SpoolResult::failed(error);

    std::vector<JobRecord> out;
    // One job per group of job attributes.
    ipp_attribute_t* a = ippFirstAttribute(response.get());
    while (a) {
        while (a && ippGetGroupTag(a) != IPP_TAG_JOB) a = ippNextAttribute(response.get());
        if (!a) break;
        JobRecord j;
        int state = IPP_JSTATE_PENDING;
        std::vector<std::string> reasons;
        std::uint32_t impressions = 0, sheets = 0;
        for (; a && ippGetGroupTag(a) == IPP_TAG_JOB; a = ippNextAttribute(response.get())) {
            const char* name = ippGetName(a);
            if (!name) continue;
            if (!std::strcmp(name, "job-id"))
                j.id = static_cast<std::uint32_t>(ippGetInteger(a, 0));
            else if (!std::strcmp(name, "job-name")) {
                if (const char* s = ippGetString(a, 0, nullptr)) j.document = s;
            } else if (!std::strcmp(name, "job-state"))
                state = ippGetInteger(a, 0);
            else if (!std::strcmp(name, "job-state-reasons"))
                reasons = keywords(a);
            else if (!std::strcmp(name, "job-impressions"))
                impressions = static_cast<std::uint32_t>(std::max(0, ippGetInteger(a, 0)));
            else if (!std::strcmp(name, "job-media-sheets"))
                sheets = static_cast<std::uint32_t>(std::max(0, ippGetInteger(a, 0)));
        }
        j.status = jobStatusBits(state, reasons, printerReasons);
        j.totalPages = impressions ? impressions : sheets;
        if (j.id) out.push_back(std::move(j));
    }
    jobs = std::move(out);
    return SpoolResult::success();
}

SpoolResult CupsSpooler::deleteJob(QueueHandle handle, std::uint32_t jobId) {
    Open* o = find(handle);
    if (!o) return SpoolResult::failed(SpoolError::InvalidHandle);
    Call call(*this);
    // Only a job of this queue.
    std::vector<JobRecord> jobs;
    if (SpoolResult r = jobsOf(*o, call, jobs); !r.ok()) return r;
    if (std::none_of(jobs.begin(), jobs.end(), [&](const JobRecord& j) { return j.id == jobId; }))
        return SpoolResult::failed(SpoolError::InvalidParameter);
    ipp_t* req = request(IPP_OP_CANCEL_JOB, o->queue);
    ippAddInteger(req, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", static_cast<int>(jobId));
    std::uint32_t error = 0;
    Ipp response = call.send(req, error);
    return response ? SpoolResult::success() : SpoolResult::failed(error);
}

void CupsSpooler::cancelJob(Call& call, const std::string& queue, int jobId) {
    ipp_t* req = request(IPP_OP_CANCEL_JOB, queue);
    ippAddInteger(req, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId);
    std::uint32_t error = 0;
    call.send(req, error);
}

SpoolResult CupsSpooler::startDocument(QueueHandle handle, const std::string& documentName) {
    setLastJobId(0);
    Open* o = find(handle);
    if (!o) return SpoolResult::failed(SpoolError::InvalidHandle);
    if (o->document) return SpoolResult::failed(SpoolError::InvalidParameter);
    Call call(*this);
    if (std::uint32_t refused = call.refused()) return SpoolResult::failed(refused);
    std::uint32_t error = 0;
    Http http = call.connect(error);
    if (!http) return SpoolResult::failed(error);
    int job = cupsCreateJob(http.get(), o->queue.c_str(), documentName.c_str(), 0, nullptr);
    if (job <= 0) return SpoolResult::failed(call.failure(http.get(), cupsLastError()));
    if (cupsStartDocument(http.get(), o->queue.c_str(), job, documentName.c_str(), CUPS_FORMAT_RAW, 1) !=
        HTTP_STATUS_CONTINUE) {
        error = call.failure(http.get(), cupsLastError());
        if (!serverSilent(error)) cancelJob(call, o->queue, job);
        return SpoolResult::failed(error);
    }
    o->document = std::move(http);
    o->jobId = job;
    o->documentError = 0;
    return SpoolResult::success();
}

SpoolResult CupsSpooler::startPage(QueueHandle handle) {
    Open* o = find(handle);
    if (!o) return SpoolResult::failed(SpoolError::InvalidHandle);
    if (!o->document) return SpoolResult::failed(SpoolError::InvalidParameter);
    return SpoolResult::success();
}

SpoolResult CupsSpooler::write(QueueHandle handle, const std::string& bytes, std::size_t& written) {
    written = 0;
    Open* o = find(handle);
    if (!o) return SpoolResult::failed(SpoolError::InvalidHandle);
    if (!o->document || o->documentError) return SpoolResult::failed(SpoolError::InvalidParameter);
    // A write of nothing would end the request body.
    if (bytes.empty()) return SpoolResult::success();
    Call call(*this);
    if ((o->documentError = call.refused())) return SpoolResult::failed(o->documentError);
    call.watch(o->document.get());
    if (cupsWriteRequestData(o->document.get(), bytes.data(), bytes.size()) != HTTP_STATUS_CONTINUE) {
        o->documentError = call.failure(o->document.get(), IPP_STATUS_ERROR_INTERNAL);
        return SpoolResult::failed(o->documentError);
    }
    written = bytes.size();
    return SpoolResult::success();
}

SpoolResult CupsSpooler::endPage(QueueHandle handle) { return startPage(handle); }

SpoolResult CupsSpooler::endDocument(QueueHandle handle) {
    Open* o = find(handle);
    if (!o) return SpoolResult::failed(SpoolError::InvalidHandle);
    if (!o->document) return SpoolResult::failed(SpoolError::InvalidParameter);
    Call call(*this);
    std::uint32_t error = o->documentError ? o->documentError : call.refused();
    if (!error) {
        call.watch(o->document.get());
        const ipp_status_t status = cupsFinishDocument(o->document.get(), o->queue.c_str());
        // A response cut off reads as no error at all.
        if (status > IPP_STATUS_OK_EVENTS_COMPLETE || httpGetStatus(o->document.get()) != HTTP_STATUS_OK)
            error = call.failure(o->document.get(), status);
    }
    o->document.reset();
    if (error) {
        // Leave no half-spooled job behind, unless the server cannot be told.
        if (!serverSilent(error)) cancelJob(call, o->queue, o->jobId);
        o->jobId = 0;
        return SpoolResult::failed(error);
    }
    setLastJobId(static_cast<std::uint32_t>(o->jobId));
    o->jobId = 0;
    return SpoolResult::success();
}

namespace {

JobOutcome outcomeOf(int jobState) {
    switch (jobState) {
        case IPP_JSTATE_COMPLETED:
            return JobOutcome::Completed;
        case IPP_JSTATE_CANCELED:
            return JobOutcome::Canceled;
        case IPP_JSTATE_ABORTED:
            return JobOutcome::Aborted;
        default:
            return JobOutcome::Pending;
    }
}

}  // namespace

SpoolResult CupsSpooler::watchJobs(const std::string& queue) {
    if (queue.empty()) return SpoolResult::failed(SpoolError::InvalidPrinterName);
    if (auto w = watches_.find(queue); w != watches_.end()) {
        ++w->second.watchers;
        return SpoolResult::success();
    }
    Call call(*this);
    if (std::uint32_t refused = call.refused()) return SpoolResult::failed(refused);
    ipp_t* req = request(IPP_OP_CREATE_PRINTER_SUBSCRIPTIONS, queue);
    ippAddString(req, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-pull-method", nullptr, "ippget");
    const char* events[] = {"job-completed", "job-state-changed"};
    ippAddStrings(req, IPP_TAG_SUBSCRIPTION, IPP_TAG_KEYWORD, "notify-events", 2, nullptr, events);
    ippAddInteger(req, IPP_TAG_SUBSCRIPTION, IPP_TAG_INTEGER, "notify-lease-duration", WatchLeaseSeconds);
    std::uint32_t error = 0;
    Ipp response = call.send(req, error);
    if (!response) return SpoolResult::failed(error);
    ipp_attribute_t* id = ippFindAttribute(response.get(), "notify-subscription-id", IPP_TAG_INTEGER);
    if (!id) return SpoolResult::failed(SpoolError::NotSupported);
    Watch& w = watches_[queue];
    w.subscription = ippGetInteger(id, 0);
    w.watchers = 1;
    return SpoolResult::success();
}

void CupsSpooler::unwatchJobs(const std::string& queue) {
    auto w = watches_.find(queue);
    if (w == watches_.end() || --w->second.watchers > 0) return;
    const int subscription = w->second.subscription;
    watches_.erase(w);
    // A server that does not answer ends it when its lease runs out.
    Call call(*this);
    if (call.refused()) return;
    ipp_t* req = request(IPP_OP_CANCEL_SUBSCRIPTION, queue);
    ippAddInteger(req, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-id", subscription);
    std::uint32_t error = 0;
    call.send(req, error);
}

bool CupsSpooler::readEvents(Call& call, const std::string& queue, Watch& watch, std::uint32_t& error) {
    ipp_t* req = request(IPP_OP_GET_NOTIFICATIONS, queue);
    ippAddInteger(req, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-subscription-ids", watch.subscription);
    ippAddInteger(req, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "notify-sequence-numbers", watch.nextEvent);
    Ipp response = call.send(req, error);
    if (!response) return false;
    // One event per group of event notification attributes.
    ipp_attribute_t* a = ippFirstAttribute(response.get());
    while (a) {
        while (a && ippGetGroupTag(a) != IPP_TAG_EVENT_NOTIFICATION) a = ippNextAttribute(response.get());
        if (!a) break;
        int sequence = 0, job = 0, state = 0;
        for (; a && ippGetGroupTag(a) == IPP_TAG_EVENT_NOTIFICATION; a = ippNextAttribute(response.get())) {
            const char* name = ippGetName(a);
            if (!name) continue;
            if (!std::strcmp(name, "notify-sequence-number"))
                sequence = ippGetInteger(a, 0);
            else if (!std::strcmp(name, "notify-job-id"))
                job = ippGetInteger(a, 0);
            else if (!std::strcmp(name, "job-state"))
                state = ippGetInteger(a, 0);
        }
        watch.nextEvent = std::max(watch.nextEvent, sequence + 1);
        if (job > 0 && state >= IPP_JSTATE_CANCELED) watch.ends[static_cast<std::uint32_t>(job)] = state;
    }
    return true;
}

JobOutcome CupsSpooler::jobOutcome(const std::string& queue, std::uint32_t jobId) {
    if (queue.empty() || jobId == 0) return JobOutcome::Unknown;
    Call call(*this);
    if (call.refused()) return JobOutcome::NoAnswer;
    ipp_t* req = request(IPP_OP_GET_JOB_ATTRIBUTES, queue);
    ippAddInteger(req, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", static_cast<int>(jobId));
    requestAttributes(req, {"job-state"});
    std::uint32_t error = 0;
    Ipp response = call.send(req, error);
    if (response) {
        ipp_attribute_t* state = ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM);
        return state ? outcomeOf(ippGetInteger(state, 0)) : JobOutcome::Failed;
    }
    if (serverSilent(error)) return JobOutcome::NoAnswer;
    if (call.status() != IPP_STATUS_ERROR_NOT_FOUND) return JobOutcome::Failed;
    // The server no longer knows the job: its end is in the events of its queue.
    auto w = watches_.find(queue);
    if (w == watches_.end()) return JobOutcome::Unknown;
    if (!readEvents(call, queue, w->second, error))
        return serverSilent(error) ? JobOutcome::NoAnswer : JobOutcome::Failed;
    auto end = w->second.ends.find(jobId);
    return end == w->second.ends.end() ? JobOutcome::Failed : outcomeOf(end->second);
}

void CupsSpooler::finishOpenDocument(Open& o, Call& call) {
    if (!o.document) return;
    const std::uint32_t error = o.documentError ? o.documentError : call.refused();
    if (error) {
        o.document.reset();
        if (!serverSilent(error)) cancelJob(call, o.queue, o.jobId);
    } else {
        call.watch(o.document.get());
        cupsFinishDocument(o.document.get(), o.queue.c_str());
        o.document.reset();
    }
    o.jobId = 0;
}

QueueList CupsSpooler::queues() {
    QueueList list;
    Call call(*this);
    if (std::uint32_t refused = call.refused()) {
        list.result = SpoolResult::failed(refused);
        return list;
    }
    ipp_t* req = request(IPP_OP_CUPS_GET_PRINTERS, {});
    requestAttributes(req, {"printer-name"});
    std::uint32_t error = 0;
    Ipp response = call.send(req, error);
    // A server without queues answers "not found".
    if (!response && error != SpoolError::InvalidPrinterName) {
        list.result = SpoolResult::failed(error);
        return list;
    }
    if (!response) return list;
    for (ipp_attribute_t* a = ippFindAttribute(response.get(), "printer-name", IPP_TAG_NAME); a;
         a = ippFindNextAttribute(response.get(), "printer-name", IPP_TAG_NAME))
        if (const char* s = ippGetString(a, 0, nullptr)) list.names.emplace_back(s);
    return list;
}

SpoolResult CupsSpooler::addQueue(const QueueSpec& spec) {
    if (spec.name.empty() || spec.deviceUri.empty()) return SpoolResult::failed(SpoolError::InvalidParameter);
    ipp_t* req = request(IPP_OP_CUPS_ADD_MODIFY_PRINTER, spec.name);
    ippAddString(req, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, spec.deviceUri.c_str());
    // "raw" drops the PPD of an existing queue of that name.
    if (spec.ppdFile.empty()) ippAddString(req, IPP_TAG_PRINTER, IPP_TAG_NAME, "ppd-name", nullptr, "raw");
    if (!spec.info.empty())
        ippAddString(req, IPP_TAG_PRINTER, IPP_TAG_TEXT, "printer-info", nullptr, spec.info.c_str());
    if (!spec.errorPolicy.empty())
        ippAddString(req, IPP_TAG_PRINTER, IPP_TAG_NAME, "printer-error-policy", nullptr, spec.errorPolicy.c_str());
    ippAddBoolean(req, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    ippAddInteger(req, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    return Call(*this).administer(req, spec.ppdFile);
}

SpoolResult CupsSpooler::deleteQueue(const std::string& name) {
    if (name.empty()) return SpoolResult::failed(SpoolError::InvalidPrinterName);
    SpoolResult r = Call(*this).administer(request(IPP_OP_CUPS_DELETE_PRINTER, name));
    if (r.error == SpoolError::InvalidPrinterName) return SpoolResult::success();
    return r;
}

DeviceList CupsSpooler::localDevices() {
    DeviceList list;
    Call call(*this);
    if (std::uint32_t refused = call.refused()) {
        list.result = SpoolResult::failed(refused);
        return list;
    }
    ipp_t* req = request(IPP_OP_CUPS_GET_DEVICES, {});
    const char* schemes[] = {"usb", "parallel", "serial"};
    ippAddStrings(req, IPP_TAG_OPERATION, IPP_TAG_NAME, "include-schemes", 3, nullptr, schemes);
    // The server looks for devices for at most half the time the call may take.
    const auto search = std::chrono::duration_cast<std::chrono::seconds>(limit_ / 2).count();
    ippAddInteger(req, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "timeout", static_cast<int>(std::max<long long>(1, search)));
    std::uint32_t error = 0;
    Ipp response = call.send(req, error);
    if (!response) {
        list.result = SpoolResult::failed(error);
        return list;
    }
    // One device per group of printer attributes.
    ipp_attribute_t* a = ippFirstAttribute(response.get());
    while (a) {
        while (a && ippGetGroupTag(a) != IPP_TAG_PRINTER) a = ippNextAttribute(response.get());
        if (!a) break;
        LocalDevice d;
        for (; a && ippGetGroupTag(a) == IPP_TAG_PRINTER; a = ippNextAttribute(response.get())) {
            const char* name = ippGetName(a);
            const char* value = ippGetString(a, 0, nullptr);
            if (!name || !value) continue;
            if (!std::strcmp(name, "device-class"))
                d.deviceClass = value;
            else if (!std::strcmp(name, "device-uri"))
                d.uri = value;
            else if (!std::strcmp(name, "device-make-and-model"))
                d.makeAndModel = value;
            else if (!std::strcmp(name, "device-id"))
                d.deviceId = value;
            else if (!std::strcmp(name, "device-info"))
                d.info = value;
        }
        if (isLocalDeviceUri(d.uri)) list.devices.push_back(std::move(d));
    }
    return list;
}

std::string CupsSpooler::serverName() const {
    const std::string host = cupsServer();
    if (host.empty() || host.front() == '/' || host == "localhost") return {};
    const int port = ippPort();
    return port == IPP_PORT ? host : host + ":" + std::to_string(port);
}

void CupsSpooler::newAction() { silence_.reset(); }

bool CupsSpooler::silentInAction() const { return silence_ && silence_->server == namedServer(); }

void CupsSpooler::noteSilence() { silence_ = Silence{namedServer(), SpoolError::NoAnswer}; }

std::string CupsSpooler::defaultQueue() {
    Call call(*this);
    if (call.refused()) return {};
    ipp_t* req = request(IPP_OP_CUPS_GET_DEFAULT, {});
    requestAttributes(req, {"printer-name"});
    std::uint32_t error = 0;
    Ipp response = call.send(req, error);
    if (!response) return {};
    return text(response.get(), "printer-name").value_or(std::string{});
}

}  // namespace platform
