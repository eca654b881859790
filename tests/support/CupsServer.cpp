#include "support/CupsServer.h"
#include "platform/cups/CupsHandles.h"
#include "support/Loopback.h"
#include "support/ServerProcess.h"
#include "support/TempDir.h"

#include <cups/cups.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <sstream>
#include <stdexcept>

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

const char* const Cupsd = "/usr/sbin/cupsd";
const char* const ServerBin = "/usr/lib/cups";
const char* const DataDir = "/usr/share/cups";

// Waits without sleeping: poll() on nothing, bounded by the deadline.
void waitMs(Clock::time_point deadline, int ms) { ::poll(nullptr, 0, std::min(ms, msUntil(deadline))); }

using platform::cups::Http;
using platform::cups::Ipp;

}  // namespace

CupsServer::CupsServer(std::chrono::milliseconds startTimeout) : CupsServer(Options{}, startTimeout) {}

CupsServer::CupsServer(Options options, std::chrono::milliseconds startTimeout) : options_(options) {
    root_ = makeTempFolder("quill-cups");
    // The scheduler's own user must reach its files.
    ::chmod(root_.c_str(), 0755);
    for (const char* d : {"spool", "tmp", "cache", "state", "log"}) std::filesystem::create_directory(root_ / d);
    ::chmod((root_ / "tmp").c_str(), 01777);
    makeServerBin();

    startWithRetries(
        "cupsd", root_,
        [&] {
            host_ = randomLoopback();
            port_ = freeLoopbackPort(SOCK_STREAM, host_);
            writeConfig();
            start(startTimeout);
        },
        [this] { stop(); });
}

CupsServer::~CupsServer() {
    stop();
    // QUILL_KEEP_CUPS=1 keeps the folder (configuration, logs) for a look afterwards.
    if (const char* keep = std::getenv("QUILL_KEEP_CUPS"); keep && *keep == '1') return;
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

std::string CupsServer::address() const { return host_ + ":" + std::to_string(port_); }

std::string CupsServer::errorLog() const { return testsupport::readFile((root_ / "log" / "error_log").string()); }

void CupsServer::writeConfig() {
    const std::string r = root_.string();
    const bool asRoot = ::geteuid() == 0;
    std::string systemGroup = "root";
    if (!asRoot) {
        if (group* g = ::getgrgid(::getegid())) systemGroup = g->gr_name;
    }
    std::ofstream files(root_ / "cups-files.conf");
    files << "ServerRoot " << r << "\n"
          << "RequestRoot " << r << "/spool\n"
          << "TempDir " << r << "/tmp\n"
          << "CacheDir " << r << "/cache\n"
          << "StateDir " << r << "/state\n"
          << "ServerBin " << r << "/bin\n"
          << "DataDir " << DataDir << "\n"
          << "DocumentRoot " << DataDir << "/doc-root\n"
          << "ErrorLog " << r << "/log/error_log\n"
          << "AccessLog " << r << "/log/access_log\n"
          << "PageLog " << r << "/log/page_log\n"
          << "Printcap " << r << "/printcap\n"
          << "FileDevice No\n"
          << "SystemGroup " << systemGroup << "\n";
    if (asRoot) files << "User lp\nGroup lp\n";
    files.close();

    std::ofstream conf(root_ / "cupsd.conf");
    conf << "LogLevel info\n"
         << "MaxLogSize 0\n"
         << "Listen " << host_ << ":" << port_ << "\n"
         << "ServerName " << host_ << "\n"
         << "Browsing No\n"
         << "BrowseLocalProtocols none\n"
         << "WebInterface No\n"
         << "DefaultAuthType None\n"
         << "DefaultEncryption Never\n"
         << "ErrorPolicy abort-job\n"
         << "PreserveJobHistory " << (options_.keepJobHistory ? "Yes" : "No") << "\n"
         << "<Location />\n  Order allow,deny\n  Allow from 127.0.0.0/8\n</Location>\n"
         << "<Policy default>\n"
         << "  JobPrivateAccess all\n  JobPrivateValues none\n"
         << "  SubscriptionPrivateAccess all\n  SubscriptionPrivateValues none\n";
    // Loopback clients pass every address check, so the lock asks for a
    // password that no test gives.
    if (!options_.allowAdmin)
        conf << "  <Limit CUPS-Add-Modify-Printer CUPS-Delete-Printer CUPS-Get-Devices>\n"
             << "    AuthType Basic\n    Require user @SYSTEM\n    Order deny,allow\n  </Limit>\n";
    for (const auto& operation : options_.locked)
        conf << "  <Limit " << operation
             << ">\n    AuthType Basic\n    Require user @SYSTEM\n    Order deny,allow\n  </Limit>\n";
    conf << "  <Limit All>\n    Order deny,allow\n  </Limit>\n"
         << "</Policy>\n";
}

void CupsServer::setAdminAllowed(bool allowed) {
    Options options = options_;
    options.allowAdmin = allowed;
    restart(options);
}

void CupsServer::restart(const Options& options) {
    stop();
    options_ = options;
    writeConfig();
    start(std::chrono::seconds(20));
}

// The system's ServerBin, linked entry by entry, with a backend folder of its own.
void CupsServer::makeServerBin() {
    namespace fs = std::filesystem;
    const fs::path bin = root_ / "bin";
    fs::create_directory(bin);
    for (const auto& e : fs::directory_iterator(ServerBin))
        if (e.path().filename() != "backend") fs::create_symlink(e.path(), bin / e.path().filename());
    fs::create_directory(bin / "backend");
    for (const auto& e : fs::directory_iterator(fs::path(ServerBin) / "backend"))
        fs::create_symlink(e.path(), bin / "backend" / e.path().filename());
}

void CupsServer::setBackend(const std::string& scheme, const std::string& script) {
    const auto path = root_ / "bin" / "backend" / scheme;
    std::error_code ec;
    std::filesystem::remove(path, ec);
    testsupport::writeFile(path.string(), script);
    // The scheduler runs only backends that no one but their owner may change.
    ::chmod(path.c_str(), 0755);
}

std::filesystem::path CupsServer::setRefusingBackend(const std::string& scheme, bool hangs) {
    const std::filesystem::path marks = root_ / "tmp" / scheme;
    std::filesystem::remove_all(marks);
    std::filesystem::create_directories(marks);
    std::filesystem::permissions(marks, std::filesystem::perms::all);  // the backend runs as another user
    setBackend(scheme,
               std::string("#!/bin/sh\n[ $# -eq 0 ] && exit 0\n") +
                   (hangs ? "touch " + marks.string() + "/hanging\nexec sleep 600\n" : std::string("exit 5\n")));
    return marks;
}

std::string CupsServer::listingBackend(const std::vector<std::string>& devices) {
    std::string script = "#!/bin/sh\nif [ $# -eq 0 ]; then\n";
    for (const auto& d : devices) {
        std::string quoted;
        for (char c : d) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        script += "  echo '" + quoted + "'\n";
    }
    return script + "  exit 0\nfi\ncat > /dev/null\nexit 0\n";
}

void CupsServer::restoreBackend(const std::string& scheme) {
    const auto path = root_ / "bin" / "backend" / scheme;
    std::error_code ec;
    std::filesystem::remove(path, ec);
    const auto system = std::filesystem::path(ServerBin) / "backend" / scheme;
    if (std::filesystem::exists(system)) std::filesystem::create_symlink(system, path);
}

void CupsServer::start(std::chrono::milliseconds timeout) {
    const std::string conf = (root_ / "cupsd.conf").string();
    const std::string files = (root_ / "cups-files.conf").string();
    const std::string out = (root_ / "log" / "cupsd.out").string();
    pid_ = startServer(Cupsd, {"cupsd", "-f", "-c", conf, "-s", files}, out);

    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            throw std::runtime_error("cupsd exited (status " + std::to_string(status) + "):\n" +
                                     testsupport::readFile(std::filesystem::path(out).string()) + errorLog());
        }
        Http http(httpConnect2(host_.c_str(), port_, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 200, nullptr));
        if (http) {
            ipp_t* req = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
            Ipp resp(cupsDoRequest(http.get(), req, "/"));
            // Any IPP answer will do (with no queues it is "not found").
            if (resp) return;
        }
        if (msUntil(deadline) == 0) throw std::runtime_error("cupsd does not answer:\n" + errorLog());
        waitMs(deadline, 20);
    }
}

void CupsServer::stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGCONT);
    stopServer(pid_, std::chrono::seconds(10));
    pid_ = -1;
}

void CupsServer::stopProcess() {
    if (pid_ <= 0) return;
    stopped_ = true;
    ::kill(pid_, SIGSTOP);
    // Stopped once its state says so.
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    const std::string stat = "/proc/" + std::to_string(pid_) + "/stat";
    while (msUntil(deadline) > 0) {
        const std::string text = testsupport::readFile(stat);
        const auto end = text.rfind(')');
        if (end != std::string::npos && end + 2 < text.size() && text[end + 2] == 'T') return;
        waitMs(deadline, 5);
    }
}

void CupsServer::continueProcess() {
    if (pid_ > 0) ::kill(pid_, SIGCONT);
    stopped_ = false;
}

namespace {

// One administrative request to the private server; throws on failure.
struct Admin {
    Admin(const std::string& host, std::uint16_t port)
        : port_(port),
          http_(httpConnect2(host.c_str(), port, nullptr, AF_INET, HTTP_ENCRYPTION_NEVER, 1, 5000, nullptr)) {
        if (!http_) throw std::runtime_error("cannot reach the test scheduler");
    }
    std::string uri(const std::string& queue) const {
        char u[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, u, sizeof u, "ipp", nullptr, "localhost", port_, "/printers/%s",
                         queue.c_str());
        return u;
    }
    ipp_t* request(ipp_op_t op, const std::string& queue) const {
        ipp_t* r = ippNewRequest(op);
        if (!queue.empty()) ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri(queue).c_str());
        ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        return r;
    }
    // A request about one job, named by its job URI.
    ipp_t* jobRequest(ipp_op_t op, int jobId) const {
        ipp_t* r = ippNewRequest(op);
        char u[HTTP_MAX_URI];
        httpAssembleURIf(HTTP_URI_CODING_ALL, u, sizeof u, "ipp", nullptr, "localhost", port_, "/jobs/%d", jobId);
        ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, u);
        ippAddString(r, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
        return r;
    }
    Ipp run(ipp_t* req, const char* resource = "/admin/") {
        Ipp resp(cupsDoRequest(http_.get(), req, resource));
        if (!resp || ippGetStatusCode(resp.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
            throw std::runtime_error(std::string("IPP request failed: ") + cupsLastErrorString());
        return resp;
    }
    http_t* http() const { return http_.get(); }

    std::uint16_t port_;
    Http http_;
};

}  // namespace

void CupsServer::addQueue(const std::string& name, const std::string& deviceUri) {
    Admin a(host_, port_);
    ipp_t* req = a.request(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name);
    ippAddString(req, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, deviceUri.c_str());
    ippAddBoolean(req, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    ippAddInteger(req, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    a.run(req);
}

void CupsServer::addQueueWithPpd(const std::string& name, const std::string& deviceUri, const std::string& ppdFile) {
    Admin a(host_, port_);
    ipp_t* req = a.request(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name);
    ippAddString(req, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, deviceUri.c_str());
    ippAddBoolean(req, IPP_TAG_PRINTER, "printer-is-accepting-jobs", 1);
    ippAddInteger(req, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    // The PPD goes with the request, as lpadmin -P sends it.
    Ipp resp(cupsDoFileRequest(a.http(), req, "/admin/", ppdFile.c_str()));
    if (!resp || ippGetStatusCode(resp.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        throw std::runtime_error(std::string("adding a queue with a PPD failed: ") + cupsLastErrorString());
}

void CupsServer::deleteQueue(const std::string& name) {
    Admin a(host_, port_);
    a.run(a.request(IPP_OP_CUPS_DELETE_PRINTER, name));
}

void CupsServer::pause(const std::string& name) {
    Admin a(host_, port_);
    a.run(a.request(IPP_OP_PAUSE_PRINTER, name));
}

void CupsServer::resume(const std::string& name) {
    Admin a(host_, port_);
    a.run(a.request(IPP_OP_RESUME_PRINTER, name));
}

void CupsServer::setAccepting(const std::string& name, bool accepting) {
    Admin a(host_, port_);
    a.run(a.request(accepting ? IPP_OP_CUPS_ACCEPT_JOBS : IPP_OP_CUPS_REJECT_JOBS, name));
}

void CupsServer::setDefault(const std::string& name) {
    Admin a(host_, port_);
    a.run(a.request(IPP_OP_CUPS_SET_DEFAULT, name));
}

void CupsServer::setReasons(const std::string& name, const std::vector<std::string>& reasons) {
    Admin a(host_, port_);
    ipp_t* req = a.request(IPP_OP_CUPS_ADD_MODIFY_PRINTER, name);
    std::vector<const char*> v;
    for (const auto& r : reasons) v.push_back(r.c_str());
    if (v.empty()) v.push_back("none");
    ippAddStrings(req, IPP_TAG_PRINTER, IPP_TAG_KEYWORD, "printer-state-reasons", static_cast<int>(v.size()), nullptr,
                  v.data());
    a.run(req);
}

int CupsServer::submit(const std::string& queue, const std::string& documentName, const std::string& bytes, bool held) {
    Admin a(host_, port_);
    ipp_t* req = a.request(IPP_OP_PRINT_JOB, queue);
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_NAME, "job-name", nullptr, documentName.c_str());
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_MIMETYPE, "document-format", nullptr, CUPS_FORMAT_RAW);
    if (held) ippAddString(req, IPP_TAG_JOB, IPP_TAG_KEYWORD, "job-hold-until", nullptr, "indefinite");
    const std::string resource = "/printers/" + queue;
    http_status_t st = cupsSendRequest(a.http(), req, resource.c_str(), CUPS_LENGTH_VARIABLE);
    if (st == HTTP_STATUS_UNAUTHORIZED || st == HTTP_STATUS_ERROR) {
        ippDelete(req);
        throw std::runtime_error("Print-Job not sent");
    }
    if (st == HTTP_STATUS_CONTINUE && !bytes.empty()) st = cupsWriteRequestData(a.http(), bytes.data(), bytes.size());
    Ipp resp(cupsGetResponse(a.http(), resource.c_str()));
    ippDelete(req);
    if (!resp || ippGetStatusCode(resp.get()) > IPP_STATUS_OK_EVENTS_COMPLETE)
        throw std::runtime_error(std::string("Print-Job failed: ") + cupsLastErrorString());
    ipp_attribute_t* id = ippFindAttribute(resp.get(), "job-id", IPP_TAG_INTEGER);
    if (!id) throw std::runtime_error("Print-Job gave no job id");
    return ippGetInteger(id, 0);
}

std::string CupsServer::attribute(const std::string& queue, const std::string& name) {
    Admin a(host_, port_);
    ipp_t* req = a.request(IPP_OP_GET_PRINTER_ATTRIBUTES, queue);
    const char* wanted = name.c_str();
    ippAddStrings(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 1, nullptr, &wanted);
    Ipp resp(cupsDoRequest(a.http(), req, "/"));
    if (!resp || ippGetStatusCode(resp.get()) > IPP_STATUS_OK_EVENTS_COMPLETE) return {};
    ipp_attribute_t* at = ippFindAttribute(resp.get(), wanted, IPP_TAG_ZERO);
    if (!at) return {};
    switch (ippGetValueTag(at)) {
        case IPP_TAG_BOOLEAN:
            return ippGetBoolean(at, 0) ? "true" : "false";
        case IPP_TAG_INTEGER:
        case IPP_TAG_ENUM:
            return std::to_string(ippGetInteger(at, 0));
        default: {
            const char* text = ippGetString(at, 0, nullptr);
            return text ? text : "";
        }
    }
}

void CupsServer::release(int jobId) {
    Admin a(host_, port_);
    ipp_t* req = a.jobRequest(IPP_OP_RELEASE_JOB, jobId);
    a.run(req, "/jobs/");
}

std::vector<CupsServer::Job> CupsServer::jobs(const std::string& queue, bool all) {
    Admin a(host_, port_);
    ipp_t* req = a.request(IPP_OP_GET_JOBS, queue);
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, all ? "all" : "not-completed");
    const char* attrs[] = {"job-id", "job-name", "job-state"};
    ippAddStrings(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 3, nullptr, attrs);
    Ipp resp = a.run(req, "/");
    std::vector<Job> out;
    Job cur;
    for (ipp_attribute_t* at = ippFirstAttribute(resp.get()); at; at = ippNextAttribute(resp.get())) {
        const char* n = ippGetName(at);
        if (ippGetGroupTag(at) != IPP_TAG_JOB || !n) {
            if (cur.id) out.push_back(cur);
            cur = Job{};
            continue;
        }
        if (!std::strcmp(n, "job-id")) cur.id = ippGetInteger(at, 0);
        if (!std::strcmp(n, "job-name")) cur.name = ippGetString(at, 0, nullptr);
        if (!std::strcmp(n, "job-state")) cur.state = ippGetInteger(at, 0);
    }
    if (cur.id) out.push_back(cur);
    return out;
}

void CupsServer::cancelAll(const std::string& queue) {
    for (const auto& j : jobs(queue)) {
        Admin a(host_, port_);
        ipp_t* req = a.request(IPP_OP_CANCEL_JOB, queue);
        ippAddInteger(req, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", j.id);
        a.run(req, "/");
    }
}

void CupsServer::removeQueues(const std::vector<std::string>& names) {
    for (const auto& q : names) {
        try {
            cancelAll(q);
            deleteQueue(q);
        } catch (const std::exception&) {
        }
    }
}

bool CupsServer::waitForJobState(int jobId, int state, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        Admin a(host_, port_);
        ipp_t* req = a.jobRequest(IPP_OP_GET_JOB_ATTRIBUTES, jobId);
        Ipp resp = a.run(req, "/");
        ipp_attribute_t* s = ippFindAttribute(resp.get(), "job-state", IPP_TAG_ENUM);
        if (s && ippGetInteger(s, 0) >= state) return true;
        if (msUntil(deadline) == 0) return false;
        waitMs(deadline, 20);
    }
}

bool CupsServer::waitForIdle(const std::string& queue, std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        Admin a(host_, port_);
        ipp_t* req = a.request(IPP_OP_GET_PRINTER_ATTRIBUTES, queue);
        Ipp resp = a.run(req, "/");
        ipp_attribute_t* s = ippFindAttribute(resp.get(), "printer-state", IPP_TAG_ENUM);
        if (s && ippGetInteger(s, 0) == IPP_PSTATE_IDLE && jobs(queue).empty()) return true;
        if (msUntil(deadline) == 0) return false;
        waitMs(deadline, 20);
    }
}

bool CupsServer::hasWork(const std::vector<std::string>& stuckQueues) {
    // A stopped scheduler does nothing until it goes on.
    if (stopped_) return false;
    Admin a(host_, port_);
    ipp_t* req = ippNewRequest(IPP_OP_GET_JOBS);
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/");
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "not-completed");
    const char* wanted[] = {"job-state", "job-printer-uri"};
    ippAddStrings(req, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", 2, nullptr, wanted);
    Ipp resp = a.run(req, "/");
    // One job per group of job attributes.
    ipp_attribute_t* at = ippFirstAttribute(resp.get());
    while (at) {
        while (at && ippGetGroupTag(at) != IPP_TAG_JOB) at = ippNextAttribute(resp.get());
        int state = 0;
        std::string queue;
        for (; at && ippGetGroupTag(at) == IPP_TAG_JOB; at = ippNextAttribute(resp.get())) {
            const char* n = ippGetName(at);
            if (n && std::strcmp(n, "job-state") == 0) state = ippGetInteger(at, 0);
            if (n && std::strcmp(n, "job-printer-uri") == 0) {
                const std::string uri = ippGetString(at, 0, nullptr) ? ippGetString(at, 0, nullptr) : "";
                queue = uri.substr(uri.rfind('/') + 1);
            }
        }
        if ((state == IPP_JSTATE_PENDING || state == IPP_JSTATE_PROCESSING) &&
            std::find(stuckQueues.begin(), stuckQueues.end(), queue) == stuckQueues.end())
            return true;
    }
    return false;
}

namespace {

std::unique_ptr<CupsServer> theServer;

// CUPS_SERVER for the programs a test starts, and the process's own clients;
// nothing: the local server.
void pointClientsAt(const std::optional<std::string>& endpoint) {
    if (endpoint)
        ::setenv("CUPS_SERVER", endpoint->c_str(), 1);
    else
        ::unsetenv("CUPS_SERVER");
    cupsSetServer(nullptr);
}

}  // namespace

CupsServer& testScheduler() {
    if (!theServer) throw std::logic_error("the test scheduler is not running");
    return *theServer;
}

SchedulerOptions::SchedulerOptions(const CupsServer::Options& options) : before_(testScheduler().options()) {
    testScheduler().restart(options);
}

SchedulerOptions::~SchedulerOptions() { testScheduler().restart(before_); }

UseServer::UseServer(const std::string& endpoint) {
    if (const char* now = std::getenv("CUPS_SERVER")) before_ = now;
    pointClientsAt(endpoint);
}

UseServer::~UseServer() { pointClientsAt(before_); }

void CupsEnvironment::SetUp() {
    // Until the private server runs, CUPS clients point at a port that refuses them.
    RefusingPort refusing;
    ::setenv("CUPS_SERVER", refusing.endpoint().c_str(), 1);
    try {
        theServer = std::make_unique<CupsServer>();
    } catch (const std::exception& e) {
        GTEST_FAIL() << e.what();
    }
    ::unsetenv("IPP_PORT");
    pointClientsAt(theServer->address());
}

void CupsEnvironment::TearDown() { theServer.reset(); }

}  // namespace testsupport
