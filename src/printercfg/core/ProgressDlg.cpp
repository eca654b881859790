#include "printercfg/core/ProgressDlg.h"

#include <algorithm>

#include "foundation/JobWatch.h"
#include "foundation/SocketWatch.h"
#include "foundation/SpoolCheck.h"
#include "platform/CodePage.h"
#include "platform/Platform.h"
#include "platform/Socket.h"
#include "platform/Spooler.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/core/RegEdit.h"
#include "printercfg/pages/PrinterSetup.h"
#include "ui/Form.h"

namespace printercfg {

namespace {

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// Bytes of the code page as UTF-8; a byte without a character shows as "?".
std::string fromCodePage(const std::string& bytes) {
    if (auto text = platform::fromAnsi(bytes)) return *text;
    std::string out;
    for (char c : bytes) out += platform::fromAnsi(std::string(1, c)).value_or("?");
    return out;
}

}  // namespace

ProgressDlg::ProgressDlg(MarrowbyModule& module)
    : Page(module, "ProgressDlg", "Progress Monitor"),
      Label1(*this, "Label1", "Processing Request"),
      Label4(*this, "Label4", "Printer configuration in progress. Please wait."),
      Label2(*this, "Label2", "Progress Meter:"),
      ProgressBar(*this, "ProgressBar"),
      Label3(*this, "Label3", "Status Log:"),
      StatusLog(*this, "StatusLog") {
    Label1.setFont(ui::HeadingFont);
    Label2.setBuddy(&ProgressBar);
    Label3.setBuddy(&StatusLog);
    StatusLog.setMultiLine(true);
    StatusLog.setLocked(true);
    layoutGrid({{&Label2, &ProgressBar}});
}

ProgressDlg::~ProgressDlg() { closeSocket(); }

void ProgressDlg::Form_Unload(int&) { closeSocket(); }

void ProgressDlg::closeSocket() {
    io_.reset();
    if (pwSocket) pwSocket->close();
    pwSocket.reset();
    pending_ = false;
}

void ProgressDlg::AppendStatus(const std::string& line) { StatusLog.setText(StatusLog.text() + "\r\n" + line); }

template <class Done>
void ProgressDlg::wait(std::uint32_t ms, Done done) {
    ui::Clock& clock = m_.ui().clock();
    const std::uint32_t start = clock.milliseconds();
    // Unsigned difference: a wrap of the counter does not upset the wait.
    while (!done() && clock.milliseconds() - start < ms) {
        m_.ui().doEvents();
        if (done()) break;
        // Until the next event, at most to the end of the wait.
        const std::uint32_t elapsed = clock.milliseconds() - start;
        m_.ui().idle(PollMs, elapsed < ms ? ms - elapsed : 0);
    }
}

bool ProgressDlg::ended() const { return m_.ui().ended() || !isLoaded(); }

bool ProgressDlg::pause(std::uint32_t ms) {
    wait(ms, [this] { return ended(); });
    return !ended();
}

// --- Send sequence -------------------------------------------------------------

void ProgressDlg::lockOtherPages() {
    for (ui::Form* form : m_.ui().loadedForms()) {
        if (form == this) continue;
        for (ui::Control* c : form->controls())
            if (c->kind() == ui::Kind::CommandButton && c->enabled()) {
                c->setEnabled(false);
                locked_.emplace_back(form->weak_from_this(), c);
            }
    }
}

void ProgressDlg::unlockOtherPages() {
    for (auto& [form, control] : locked_)
        if (auto f = form.lock(); f && f->isLoaded()) control->setEnabled(true);
    locked_.clear();
}

void ProgressDlg::Start_Job() {
    // The closing step unloads every page, this one included.
    auto keep = weak_from_this().lock();
    struct Running {
        ProgressDlg& page;
        explicit Running(ProgressDlg& p) : page(p) {
            page.sending_ = true;
            page.lockOtherPages();
        }
        ~Running() { end(); }
        void end() {
            if (!page.sending_) return;
            page.sending_ = false;
            page.unlockOtherPages();
        }
    } running(*this);

    KRNCmds cmds(m_);
    auto check = [&](int seconds) {
        StepJob = cmds.lastJob();
        return Check_Job_Status(seconds);
    };
    bool skipped = false;
    auto skip = [&] {
        AppendStatus("Step skipped after an earlier printer error.");
        skipped = true;
    };

    m_.WriteLog("Begin Print");
    ProgressBar.setValue(0);
    StatusLog.setText("Initializing ....");
    // Every job of the run goes to this queue; the watch tells how each ended.
    const foundation::JobWatch watch(m_, m_.os().spooler().currentPrinter());

    const PrinterSetup* settings = m_.PrinterSetupForm.loaded();
    if (settings && settings->EmulationCB.value() == 0) {
        if (m_.PrinterErrorSeen) {
            skip();
        } else {
            if (ended()) return;
            AppendStatus("Requesting active emulation to be changed.");
            cmds.SendEmuCmd(m_.SaveConfigNumber);
            if (!check(10)) return;
            ProgressBar.setValue(25);
            if (ended()) return;
            cmds.SendLoadCfgCmd(m_.SaveConfigNumber);
            AppendStatus("Requesting loading of configuration #" + std::to_string(m_.SaveConfigNumber) +
                         " to set active emulation.");
            if (!check(10)) return;
        }
    }

    ProgressBar.setValue(30);
    if (ended()) return;
    bool last = cmds.SendCfgCmd();
    if (last) {
        AppendStatus("Sending configuration update request to printer.");
        last = check(5);
        if (!last) return;
    }

    // A step asked for after a printer error is skipped, and says so.
    auto step = [&](int bar, bool asked, const char* line, auto job, int seconds) {
        ProgressBar.setValue(bar);
        if (!asked) return true;
        if (m_.PrinterErrorSeen) {
            skip();
            return true;
        }
        if (ended()) return false;
        AppendStatus(line);
        job();
        last = check(seconds);
        return last;
    };
    if (!step(
            40, m_.CalibrationNeeded, "Requesting auto calibration to be started.", [&] { cmds.SendCalibrateCmd(); },
            20))
        return;
    if (!step(
            60, m_.SaveConfigRequested, "Requesting configuration to be saved.",
            [&] { cmds.SendSaveCfgCmd(m_.SaveConfigNumber); }, 5))
        return;
    if (!step(
            80, m_.PowerUpRequested, "Requesting power-up configuration to be changed.",
            [&] { cmds.SendSetPowerUpCmd(m_.PowerUpConfigNumber); }, 5))
        return;

    if (skipped) {
        // Ends as a failed run: the user is back on the print settings.
        m_.SetupSent = false;
        running.end();
        m_.PrinterSetupForm().show();
        return;
    }
    running.end();
    ProgressBar.setValue(100);
    AppendStatus("Printer Successfully Configured.");
    m_.SetupSent = true;
    if (last) m_.ShowSetupSent();
    m_.ExitWizard();
}

platform::JobOutcome ProgressDlg::outcome(const KRNCmds::Sent& job) {
    if (!job.spooled || job.jobId == 0) return platform::JobOutcome::Unknown;
    platform::Spooler& spooler = m_.os().spooler();
    return spooler.jobOutcome(spooler.currentPrinter(), job.jobId);
}

bool ProgressDlg::Check_Job_Status(int waitSeconds) {
    using platform::JobOutcome;
    constexpr const char* Retrieved = "Printer info retrieved";
    constexpr const char* NoJobs = "No Print Jobs!";
    m_.WriteLog("...Check_Job_Status");
    // Sending the job has said so already.
    if (StepJob.serverSilent) return SpoolerFailure(false);
    foundation::SpoolCheck check(m_);
    std::string printerText, jobText, jobId;
    const bool firstLook = check.CheckPrinter(printerText, jobText) == Retrieved;
    if (check.serverSilent()) return SpoolerFailure(true);
    if (firstLook) {
        check.getPrinterStatus(printerText, m_.SelectedPrinterPort, m_.SelectedDriverName);
        check.getJobStatus(jobText, jobId);
    }
    const std::string firstId = jobId;
    m_.WriteLog("...Check_Job_Status: Got status msg");

    // A job the spooler did not take, or a queue that cannot be read, is a stuck job.
    bool moved = false;
    if (firstLook && StepJob.spooled) {
        if (!pause(static_cast<std::uint32_t>(std::max(waitSeconds, 0)) * 1000u)) return false;
        KRNCmds probe(m_);
        probe.SendDummyJob();
        const KRNCmds::Sent dummy = probe.lastJob();
        if (dummy.serverSilent) return SpoolerFailure(false);
        if (!pause(5000)) return false;
        m_.WriteLog("...Check_Job_Status: Check status after dummy job");
        printerText.clear();
        jobText.clear();
        const bool secondLook = check.CheckPrinter(printerText, jobText) == Retrieved;
        if (check.serverSilent()) return SpoolerFailure(true);
        if (secondLook) {
            if (jobText != NoJobs) {
                check.getPrinterStatus(printerText, m_.SelectedPrinterPort, m_.SelectedDriverName);
                check.getJobStatus(jobText, jobId);
            }
            const JobOutcome own = outcome(StepJob);
            if (own == JobOutcome::NoAnswer) return SpoolerFailure(true);
            const JobOutcome probed = outcome(dummy);
            if (probed == JobOutcome::NoAnswer) return SpoolerFailure(true);
            // The step's own job tells: the queue moved when the spooler
            // reports that job completed, or no longer knows it where it
            // could not watch the queue, whatever became of the jobs before
            // it. Cancelled, aborted or untold, it did not reach the printer.
            if (StepJob.jobId)
                moved = own == JobOutcome::Completed || own == JobOutcome::Unknown;
            else
                moved = jobText == NoJobs || jobId != firstId;
            // A wizard job the spooler gave up on never reached the printer.
            if (probed == JobOutcome::Aborted) moved = false;
        }
    }
    if (moved) {
        AppendStatus("  ... Request received OK");
        m_.WriteLog("...Check_Job_Status: Exit");
        return true;
    }
    m_.WriteLog("Job Failure:" + jobId + "Printer Status:" + printerText + "Job Status:" + jobText);
    JobFailure();
    return false;
}

bool ProgressDlg::SpoolerFailure(bool showBox) {
    AppendStatus(foundation::WizardModule::SpoolerSilentStatus);
    AppendStatus("Program terminated!!!");
    if (showBox) m_.ShowSpoolerSilent();
    m_.SetupSent = false;
    m_.PrinterSetupForm().show();
    return false;
}

void ProgressDlg::JobFailure() {
    AppendStatus("... Error Detected. The command failed. Program unable to continue.");
    const std::string address = GetPortIPAddress(m_, m_.SelectedPrinterPort);
    m_.WriteLog("JobFailure: IPAddr=" + address);
    if (!address.empty()) {
        const std::string panel = Get_SNMP_Status(address);
        AppendStatus("... Printer Front Panel Message:\r\n" + panel);
        m_.ShowPrinterUpdateError(panel);
    } else {
        m_.ShowPrinterUpdateError({});
        AppendStatus("... Please check the printer. Correct the error and try again.");
    }
    AppendStatus("Program terminated!!!");
    foundation::SpoolCheck(m_).PurgePrintQueue();
    m_.PrinterSetupForm().show();
}

// --- SNMP client -------------------------------------------------------------

void ProgressDlg::snmpSend(const std::string& Destination, const std::string& Community, const std::string& OID,
                           std::uint8_t getType) {
    SnmpReplyText.clear();
    replyReceived_ = false;
    pending_ = false;
    const std::string community = trim(Community);
    Request = SnmpRequest{};
    Request.community = platform::toAnsi(community).value_or(community);
    Request.getType = getType;
    auto name = EncodeSnmpOid(OID);
    std::size_t length = 0;
    Request.name = name.value_or(std::string{});
    if (!EncodeSnmpRequest(Request, SnmpRequestBuffer, length) || !name) {
        SnmpRequestBuffer.fill(0);
        m_.WriteLog("snmpSend: request refused: " + OID);
        return;
    }
    // Each request goes out on a socket of its own, so that a late reply to
    // an earlier one finds its port closed. The earlier socket stays open
    // until this one has sent, so the two cannot share a port.
    auto earlier = std::move(pwSocket);
    pwSocket = m_.os().sockets().datagramSocket();
    pwSocket->onDataArrival = [this](std::size_t bytes) { pwSocket_DataArrival(bytes); };
    io_ = foundation::watchSocket(m_.ui(), pwSocket);
    if (pwSocket->setRemote(trim(Destination), SnmpPort)) {
        expectedOid_ = Request.name;
        pending_ = true;
        // The whole buffer goes out: the message, then zeros.
        if (!pwSocket->send(std::string(SnmpRequestBuffer.begin(), SnmpRequestBuffer.end()))) pending_ = false;
    }
    if (earlier) earlier->close();
}

void ProgressDlg::pwSocket_DataArrival(std::size_t bytesTotal) {
    if (!pwSocket) return;
    auto datagram = pwSocket->read();
    // Only the one reply to the pending request counts; anything else is dropped.
    if (!datagram || !pending_ || bytesTotal < 2 || datagram->bytes.size() < 2 || datagram->port != SnmpPort) return;
    auto text = DecodeSnmpReply(datagram->bytes, Request.requestId, expectedOid_);
    if (!text) return;
    SnmpReplyText = fromCodePage(*text);
    replyReceived_ = true;
    pending_ = false;
}

void ProgressDlg::waitForReply() {
    if (pending_) wait(ReplyWaitMs, [this] { return replyReceived_; });
    // A reply that comes after the wait is not taken for a later request.
    pending_ = false;
}

bool ProgressDlg::IsCorvasil(const std::string& IPAddr) {
    SnmpCommunity = SnmpCommunityName;
    SnmpOid = SysDescrOid;
    snmpSend(IPAddr, SnmpCommunityName, SnmpOid, SnmpGetRequest);
    waitForReply();
    if (!replyReceived_) {
        m_.WriteLog("IsCorvasil: Unable to connect to device");
        return false;
    }
    bool found = false;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = SnmpReplyText.find(' ', start);
        if (SnmpReplyText.compare(start, blank == std::string::npos ? std::string::npos : blank - start, "Corvasil") ==
            0)
            found = true;
        if (blank == std::string::npos) break;
        start = blank + 1;
    }
    m_.WriteLog("IsCorvasil: SNMPString=" + SnmpReplyText);
    return found;
}

std::string ProgressDlg::Get_SNMP_Status(const std::string& sIPAddress) {
    SnmpCommunity = SnmpCommunityName;
    if (!IsCorvasil(sIPAddress)) {
        m_.WriteLog("GetSNMPStatus: Not Corvasil Printer");
        return {};
    }
    // A line without a reply stays empty.
    auto line = [&](const char* oid) {
        SnmpOid = oid;
        snmpSend(sIPAddress, SnmpCommunity, SnmpOid, SnmpGetRequest);
        waitForReply();
        return replyReceived_ ? SnmpReplyText : std::string{};
    };
    const std::string line1 = line(PanelLine1Oid);
    const std::string line2 = line(PanelLine2Oid);
    return "\t" + line1 + "\r\n\t" + line2;
}

}  // namespace printercfg
