#include "platform/memory/MemorySpooler.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace platform {

MemorySpooler::Queue& MemorySpooler::addQueue(const std::string& name, const std::string& driver,
                                              const std::string& port, std::uint32_t status) {
    Queue q;
    q.record.name = name;
    q.record.driver = driver;
    q.record.port = port;
    q.record.status = status;
    queues_.emplace_back(name, std::move(q));
    return queues_.back().second;
}

MemorySpooler::Queue& MemorySpooler::queue(const std::string& name) {
    Queue* q = find(name);
    if (!q) throw std::out_of_range("no queue " + name);
    return *q;
}

void MemorySpooler::removeQueue(const std::string& name) {
    std::erase_if(queues_, [&](const auto& e) { return e.first == name; });
}

std::uint32_t MemorySpooler::addJob(const std::string& queueName, std::optional<std::string> document,
                                    std::uint32_t status, std::uint32_t totalPages,
                                    std::optional<std::string> statusText) {
    JobRecord j;
    j.id = nextJobId++;
    j.document = std::move(document);
    j.status = status;
    j.totalPages = totalPages;
    j.statusText = std::move(statusText);
    queue(queueName).jobs.push_back(std::move(j));
    return queue(queueName).jobs.back().id;
}

MemorySpooler::Queue* MemorySpooler::find(const std::string& name) {
    for (auto& [n, q] : queues_)
        if (n == name) return &q;
    return nullptr;
}

MemorySpooler::Open* MemorySpooler::handle(QueueHandle h) {
    auto it = handles_.find(h);
    return it == handles_.end() ? nullptr : &it->second;
}

void MemorySpooler::note(std::string call) {
    calls.push_back(call);
    if (onCall) onCall(call);
}

QueueHandle MemorySpooler::open(const std::string& name, Access access, std::uint32_t& error) {
    std::string call = "open " + name + (access == Access::All ? " all" : " use");
    Queue* q = find(name);
    error = SpoolError::None;
    if (!q)
        error = SpoolError::InvalidPrinterName;
    else if (q->openError)
        error = q->openError;
    else if (access == Access::All && q->denyAllAccess)
        error = SpoolError::AccessDenied;
    if (error) {
        note(call + " failed " + std::to_string(error));
        return 0;
    }
    note(call);
    QueueHandle h = nextHandle_++;
    handles_[h] = Open{name, access, -1};
    return h;
}

void MemorySpooler::close(QueueHandle h) {
    Open* o = handle(h);
    if (!o) {
        note("close invalid");
        return;
    }
    note("close " + o->queue);
    handles_.erase(h);
}

SpoolResult MemorySpooler::readPrinter(QueueHandle h, PrinterRecord& record) {
    Open* o = handle(h);
    Queue* q = o ? find(o->queue) : nullptr;
    if (!q) return SpoolResult::failed(SpoolError::InvalidHandle, true);
    note("readPrinter " + o->queue);
    if (!q->printerResult.ok()) return q->printerResult;
    record = q->record;
    return SpoolResult::success();
}

SpoolResult MemorySpooler::readJobs(QueueHandle h, std::vector<JobRecord>& jobs) {
    Open* o = handle(h);
    Queue* q = o ? find(o->queue) : nullptr;
    if (!q) return SpoolResult::failed(SpoolError::InvalidHandle, true);
    note("readJobs " + o->queue);
    if (!q->jobsResult.ok()) return q->jobsResult;
    jobs = q->jobs;
    return SpoolResult::success();
}

SpoolResult MemorySpooler::deleteJob(QueueHandle h, std::uint32_t jobId) {
    Open* o = handle(h);
    Queue* q = o ? find(o->queue) : nullptr;
    if (!q) return SpoolResult::failed(SpoolError::InvalidHandle);
    note("delete " + o->queue + " " + std::to_string(jobId));
    if (o->access != Access::All) return SpoolResult::failed(SpoolError::AccessDenied);
    if (!q->deleteResult.ok()) return q->deleteResult;
    auto it = std::find_if(q->jobs.begin(), q->jobs.end(), [&](const JobRecord& j) { return j.id == jobId; });
    if (it == q->jobs.end()) return SpoolResult::failed(SpoolError::InvalidParameter);
    q->jobs.erase(it);
    return SpoolResult::success();
}

JobRecord* MemorySpooler::documentJob(Open& o) {
    Queue* q = find(o.queue);
    if (!q || o.document < 0) return nullptr;
    std::uint32_t id = documents[static_cast<std::size_t>(o.document)].jobId;
    for (auto& j : q->jobs)
        if (j.id == id) return &j;
    return nullptr;
}

SpoolResult MemorySpooler::startDocument(QueueHandle h, const std::string& documentName) {
    Open* o = handle(h);
    Queue* q = o ? find(o->queue) : nullptr;
    if (!q) return SpoolResult::failed(SpoolError::InvalidHandle);
    note("startDocument " + o->queue + " " + documentName);
    setLastJobId(0);
    if (!q->startDocumentResult.ok()) return q->startDocumentResult;
    if (o->document >= 0) return SpoolResult::failed(SpoolError::InvalidParameter);
    Document d;
    d.queue = o->queue;
    d.name = documentName;
    d.jobId = addJob(o->queue, documentName, JobStatus::Spooling);
    documents.push_back(std::move(d));
    o->document = static_cast<int>(documents.size() - 1);
    return SpoolResult::success();
}

SpoolResult MemorySpooler::startPage(QueueHandle h) {
    Open* o = handle(h);
    Queue* q = o ? find(o->queue) : nullptr;
    if (!q) return SpoolResult::failed(SpoolError::InvalidHandle);
    note("startPage " + o->queue);
    if (!q->startPageResult.ok()) return q->startPageResult;
    if (o->document < 0) return SpoolResult::failed(SpoolError::InvalidParameter);
    return SpoolResult::success();
}

SpoolResult MemorySpooler::write(QueueHandle h, const std::string& bytes, std::size_t& written) {
    written = 0;
    Open* o = handle(h);
    Queue* q = o ? find(o->queue) : nullptr;
    if (!q) return SpoolResult::failed(SpoolError::InvalidHandle);
    note("write " + o->queue + " " + std::to_string(bytes.size()) + " bytes");
    if (!q->writeResult.ok()) return q->writeResult;
    if (o->document < 0) return SpoolResult::failed(SpoolError::InvalidParameter);
    written = std::min(bytes.size(), q->writeLimit);
    documents[static_cast<std::size_t>(o->document)].bytes += bytes.substr(0, written);
    return SpoolResult::success();
}

SpoolResult MemorySpooler::endPage(QueueHandle h) {
    Open* o = handle(h);
    Queue* q = o ? find(o->queue) : nullptr;
    if (!q) return SpoolResult::failed(SpoolError::InvalidHandle);
    note("endPage " + o->queue);
    if (!q->endPageResult.ok()) return q->endPageResult;
    if (o->document < 0) return SpoolResult::failed(SpoolError::InvalidParameter);
    documents[static_cast<std::size_t>(o->document)].pages++;
    return SpoolResult::success();
}

SpoolResult MemorySpooler::endDocument(QueueHandle h) {
    Open* o = handle(h);
    Queue* q = o ? find(o->queue) : nullptr;
    if (!q) return SpoolResult::failed(SpoolError::InvalidHandle);
    note("endDocument " + o->queue);
    if (o->document < 0) return SpoolResult::failed(SpoolError::InvalidParameter);
    Document& d = documents[static_cast<std::size_t>(o->document)];
    JobRecord* job = documentJob(*o);
    o->document = -1;
    if (!q->endDocumentResult.ok()) {
        // A refused document leaves no job behind.
        std::erase_if(q->jobs, [&](const JobRecord& j) { return j.id == d.jobId; });
        return q->endDocumentResult;
    }
    d.ended = true;
    setLastJobId(d.jobId);
    if (job) {
        job->status = 0;
        job->totalPages = static_cast<std::uint32_t>(d.pages);
    }
    return SpoolResult::success();
}

SpoolResult MemorySpooler::watchJobs(const std::string& queue) {
    note("watchJobs " + queue);
    return watchResult;
}

void MemorySpooler::unwatchJobs(const std::string& queue) { note("unwatchJobs " + queue); }

JobOutcome MemorySpooler::jobOutcome(const std::string& queue, std::uint32_t jobId) {
    note("jobOutcome " + queue + " " + std::to_string(jobId));
    if (Queue* q = find(queue))
        for (const auto& j : q->jobs)
            if (j.id == jobId) return JobOutcome::Pending;
    if (auto it = outcomes.find(jobId); it != outcomes.end()) return it->second;
    for (const auto& d : documents)
        if (d.queue == queue && d.jobId == jobId && d.ended) return JobOutcome::Completed;
    return JobOutcome::Unknown;
}

QueueList MemorySpooler::queues() {
    note("queues");
    QueueList list;
    list.result = queuesResult;
    if (list.ok())
        for (const auto& e : queues_) list.names.push_back(e.first);
    return list;
}

namespace {

// The *NickName of a PPD file; empty when it has none.
std::string nickName(const std::string& ppdFile) {
    std::ifstream in(ppdFile, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.starts_with("*NickName:")) continue;
        auto open = line.find('"');
        auto close = line.rfind('"');
        if (open != std::string::npos && close > open) return line.substr(open + 1, close - open - 1);
    }
    return {};
}

}  // namespace

SpoolResult MemorySpooler::addQueue(const QueueSpec& spec) {
    note("addQueue " + spec.name + " " + spec.deviceUri + (spec.ppdFile.empty() ? " raw" : " ppd") +
         (spec.errorPolicy.empty() ? "" : " " + spec.errorPolicy));
    if (!addQueueResult.ok()) return addQueueResult;
    if (spec.name.empty() || spec.deviceUri.empty()) return SpoolResult::failed(SpoolError::InvalidParameter);
    std::string driver = "Local Raw Printer";
    if (!spec.ppdFile.empty()) {
        driver = nickName(spec.ppdFile);
        if (driver.empty()) return SpoolResult::failed(SpoolError::InvalidParameter);
    }
    Queue* q = find(spec.name);
    if (!q) q = &addQueue(spec.name, driver, spec.deviceUri);
    q->record.driver = driver;
    q->record.port = spec.deviceUri;
    q->record.status = 0;
    q->spec = spec;
    return SpoolResult::success();
}

SpoolResult MemorySpooler::deleteQueue(const std::string& name) {
    note("deleteQueue " + name);
    if (!deleteQueueResult.ok()) return deleteQueueResult;
    removeQueue(name);
    return SpoolResult::success();
}

DeviceList MemorySpooler::localDevices() {
    note("localDevices");
    if (!devicesResult.ok()) return {devicesResult, {}};
    DeviceList list;
    for (const auto& d : devices)
        if (isLocalDeviceUri(d.uri)) list.devices.push_back(d);
    return list;
}

std::string MemorySpooler::defaultQueue() {
    note("default");
    return default_;
}

}  // namespace platform
