#include "netcfg/core/ProgressDlg.h"

#include <fstream>
#include <vector>

#include "foundation/JobWatch.h"
#include "foundation/RawPrint.h"
#include "foundation/RunProgram.h"
#include "foundation/SocketWatch.h"
#include "foundation/SpoolCheck.h"
#include "netcfg/core/FinishDialog.h"
#include "netcfg/core/KRNCmds.h"
#include "netcfg/core/PortSelect.h"
#include "netcfg/core/QuillonModule.h"
#include "platform/CodePage.h"
#include "platform/Socket.h"
#include "platform/Spooler.h"

namespace netcfg {

using foundation::JoinLines;

namespace {

// A pass of the status wait where time passes only when told (the headless
// pump); a real event loop waits for the next event instead.
constexpr std::uint32_t WaitPassMs = 10;

const char* const FailureLines[] = {"... Error Detected. The command failed. Program unable to continue.",
                                    "... Please check the printer. Correct the error and try again.",
                                    "Program terminated!!!"};

// One argument as the starter splits command lines: in double quotes, a
// quote inside escaped, backslashes before a quote doubled.
std::string quoted(const std::string& text) {
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : text) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

// A word of a command line, quoted only when it needs to be.
std::string word(const std::string& text) {
    return text.find_first_of(" \t\"") == std::string::npos ? text : quoted(text);
}

// A file of the program folder.
std::string inFolder(std::string folder, const char* name) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + name;
}

}  // namespace

ProgressDlg::ProgressDlg(QuillonModule& module)
    : Page(module, "ProgressDlg", "Progress Monitor"),
      Label1(*this, "Label1", "Processing Request"),
      Label2(*this, "Label2", "Printer configuration in progress. Please wait."),
      Label3(*this, "Label3", "Progress Meter:"),
      ProgressBar(*this, "ProgressBar"),
      Label4(*this, "Label4", "Status Log:"),
      StatusLog(*this, "StatusLog"),
      Timer1(*this, "Timer1", 0, false) {
    Label1.setFont(ui::HeadingFont);
    Label3.setBuddy(&ProgressBar);
    Label4.setBuddy(&StatusLog);
    StatusLog.setMultiLine(true);
    StatusLog.setLocked(true);
    layoutGrid({{&Label3, &ProgressBar}});
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

ProgressDlg::~ProgressDlg() = default;

std::string ProgressDlg::QueueInstallLine(const std::string& port) {
    return std::string("rundll32 printui.dll,PrintUIEntry /q /if /b ") + quoted(TemporaryQueue) +
           " /f %windir%\\inf\\ntprint.inf /r " + quoted(port) + " /m " + quoted(TemporaryDriver);
}

std::string ProgressDlg::QueueDeleteLine() {
    return std::string("rundll32 printui.dll,PrintUIEntry /q /dl /n ") + quoted(TemporaryQueue);
}

std::string ProgressDlg::BatchStartLine() const {
    return word(inFolder(m_.programFolder(), "tevask")) + " " + word(inFolder(m_.programFolder(), BatchName));
}

ProgressDlg::Output ProgressDlg::output() const {
    const auto& port = m_.PortSelectForm();
    if (port.PortTCP.value()) return Output::Tcp;
    if (port.PortFile.value()) return Output::File;
    return Output::LocalPort;
}

void ProgressDlg::Form_Load() {
    rearm();
    setProgress(0);
    StatusLog.setText("Initializing ....");
    if (output() == Output::Tcp) {
        pwSocket = m_.os().sockets().tcpClient();
        io_ = foundation::watchSocket(app(), pwSocket);
        pwSocket->connect(m_.PortSelectForm().IPAddr.text(), m_.PrinterPort);
    }
}

void ProgressDlg::Form_Unload(int&) {
    Timer1.setEnabled(false);
    if (pwSocket) pwSocket->close();
    io_.reset();
    if (queueInstalled_) DeleteTemporaryQueue();
    watch_.reset();
}

void ProgressDlg::rearm() {
    Timer1.setInterval(TickMs);
    Timer1.setEnabled(true);
}

void ProgressDlg::AddStatus(const std::string& line) { StatusLog.setText(StatusLog.text() + "\r\n" + line); }

void ProgressDlg::Timer1_Timer() {
    const bool tcp = output() == Output::Tcp && pwSocket;
    const int state = progress();
    if (state == 0) {
        setProgress(1);
        rearm();
        if (tcp && pwSocket->state() != platform::SocketState::Connected) {
            // A refused connection never comes up; one still connecting has
            // until the count reaches 40.
            if (pwSocket->state() == platform::SocketState::Error)
                JobFailure("no connection to the printer");
            else
                setProgress(2);
            return;
        }
        PrepareTransport();
    } else if (state == 40) {
        AddStatus(output() == Output::File ? "Sending settings to file." : "Sending settings to printer.");
        rearm();
        Start_Job();
    } else if (state == 80) {
        if (output() != Output::File) AddStatus("Rebooting printer to enable new settings.");
        rearm();
        FinishTransport();
    } else if (state == 100) {
        AddStatus("Process complete.");
        Timer1.setEnabled(false);
        m_.ShowSetupSent();
        FinishTransport();
        m_.UnloadAllForms();
    } else {
        rearm();
        setProgress(state + 1);
        if (tcp && pwSocket->state() != platform::SocketState::Connected &&
            (progress() >= 40 || pwSocket->state() == platform::SocketState::Error))
            JobFailure("no connection to the printer");
    }
}

bool ProgressDlg::PrepareTransport() {
    const bool deleted = DeleteTemporaryQueue();
    if (!isLoaded()) return false;
    // Only a job on a local port goes through the print server; the other
    // outputs go on without it.
    if (!deleted && output() == Output::LocalPort) {
        m_.ShowSpoolerSilent();
        JobFailure("the print server does not answer", true);
        return false;
    }
    if (output() == Output::LocalPort) {
        const auto& p = m_.PortSelectForm();
        const std::string& port = p.PortLPT.value()   ? p.LPTCombo.text()
                                  : p.PortCOM.value() ? p.ComCombo.text()
                                                      : p.USBCombo.text();
        // A port that cannot stand on one line of the batch makes no queue;
        // the selection of the queue then fails.
        const auto line = platform::toAnsi(QueueInstallLine(port));
        const std::string path = inFolder(m_.programFolder(), BatchName);
        bool written = false;
        if (line && port.find_first_of("\r\n") == std::string::npos) {
            std::ofstream batch(path, std::ios::binary | std::ios::trunc);
            batch << *line << "\r\n";
            batch.close();
            written = static_cast<bool>(batch);
        }
        if (written) {
            queueInstalled_ = true;
            const bool ended = RunHelper(BatchStartLine());
            if (!isLoaded()) return false;
            if (!ended) {
                m_.ShowSpoolerSilent();
                JobFailure("the print server does not answer", true);
                return false;
            }
        } else {
            m_.WriteLog("Cannot write " + path);
        }
    }
    setProgress(40);
    return true;
}

bool ProgressDlg::Start_Job() {
    m_.WriteLog("Begin Print");
    const std::int16_t wait = output() == Output::File ? 0 : StatusWaitSeconds;
    // The job must not go to whatever queue happens to be current.
    if (output() == Output::LocalPort) {
        foundation::RawPrint raw(m_);
        if (!raw.SelectPrinter(TemporaryQueue)) {
            JobFailure("the temporary queue cannot be selected", raw.serverSilent());
            return false;
        }
        watch_ = std::make_unique<foundation::JobWatch>(m_, TemporaryQueue);
    }
    const SendResult sent = SendConfigJob(m_, m_.NicCommands);
    if (sent != SendResult::Sent) {
        JobFailure("the job was not sent", sent == SendResult::ServerSilent);
        return false;
    }
    jobId_ = output() == Output::LocalPort ? m_.os().spooler().lastJobId() : 0;
    if (!Check_Job_Status(wait)) return false;
    // The connection was watched through the wait: by its end the printer
    // must have acknowledged every byte. One more look, since the wait may
    // have slept through the last acknowledgement.
    if (output() == Output::Tcp) pwSocket->progress();
    if (output() == Output::Tcp && pwSocket->sendStatus() != platform::SendStatus::Sent) {
        JobFailure("the printer did not take the whole job");
        return false;
    }
    setProgress(80);
    return true;
}

bool ProgressDlg::Check_Job_Status(std::int16_t waitSeconds) {
    m_.WriteLog("...Check_Job_Status");
    foundation::SpoolCheck check(m_);
    std::string printerText, jobText, jobId;
    check.CheckPrinter(printerText, jobText);
    if (check.serverSilent()) {
        // The job's queue is on that server: its fate cannot be learnt.
        // Other outputs go on, without asking the server again to remove
        // the queue.
        leaveQueue_ = true;
        if (output() == Output::LocalPort) {
            m_.ShowSpoolerSilent();
            JobFailure("the print server does not answer", true);
            return false;
        }
    }
    check.getPrinterStatus(printerText, m_.SelectedPrinterPort, m_.SelectedDriverName);
    check.getJobStatus(jobText, jobId);
    m_.WriteLog("...Check_Job_Status: Got status msg");

    // On the monotonic counter: a wait across midnight ends on time.
    ui::Clock& clock = app().clock();
    const std::uint32_t start = clock.milliseconds();
    const std::uint32_t span = static_cast<std::uint32_t>(waitSeconds > 0 ? waitSeconds : 0) * 1000u;
    while (clock.milliseconds() - start < span) {
        app().doEvents();
        if (!isLoaded()) return false;
        const std::uint32_t elapsed = clock.milliseconds() - start;
        app().idle(WaitPassMs, elapsed < span ? span - elapsed : 0);
    }
    setProgress(50);
    return true;
}

bool ProgressDlg::FinishTransport() {
    if (pwSocket) pwSocket->close();
    if (queueInstalled_) {
        // A deleted queue loses its jobs: the job leaves it first.
        ui::Clock& clock = app().clock();
        const std::uint32_t start = clock.milliseconds();
        for (;;) {
            const Queued queued = JobQueued();
            if (queued == Queued::No) break;
            if (queued == Queued::Unknown) {
                m_.ShowSpoolerSilent();
                JobFailure("the print server does not answer", true);
                return false;
            }
            if (queued == Queued::Unreadable) {
                JobFailure("the temporary queue cannot be read");
                return false;
            }
            if (clock.milliseconds() - start >= QueueLeaveMs) {
                JobFailure("the job did not leave the temporary queue");
                return false;
            }
            app().doEvents();
            if (!isLoaded()) return false;
            app().idle(QueuePollMs, QueuePollMs);
        }
        // Delivered only when the spooler says the job was completed; a job
        // it no longer knows counts as completed only where it could not
        // watch the queue.
        const platform::JobOutcome outcome = m_.os().spooler().jobOutcome(TemporaryQueue, jobId_);
        if (outcome == platform::JobOutcome::NoAnswer) {
            m_.ShowSpoolerSilent();
            JobFailure("the print server does not answer", true);
            return false;
        }
        if (outcome != platform::JobOutcome::Completed && outcome != platform::JobOutcome::Unknown) {
            JobFailure("the spooler does not report the job completed");
            return false;
        }
        watch_.reset();
    }
    const bool deleted = DeleteTemporaryQueue();
    if (!isLoaded()) return false;
    // A run that reported its success does not fail after it; other outputs
    // than a local port go on without the print server.
    if (!deleted && progress() < 100 && output() == Output::LocalPort) {
        m_.ShowSpoolerSilent();
        JobFailure("the print server does not answer", true);
        return false;
    }
    setProgress(100);
    return true;
}

ProgressDlg::Queued ProgressDlg::JobQueued() {
    platform::Spooler& spooler = m_.os().spooler();
    std::uint32_t error = 0;
    const platform::QueueHandle h = spooler.open(TemporaryQueue, platform::Access::Use, error);
    if (platform::serverSilent(error)) return Queued::Unknown;
    // A queue that is no more holds no job; any other error tells nothing.
    if (!h) return error == platform::SpoolError::InvalidPrinterName ? Queued::No : Queued::Unreadable;
    std::vector<platform::JobRecord> jobs;
    const platform::SpoolResult read = spooler.readJobs(h, jobs);
    spooler.close(h);
    if (read.serverSilent()) return Queued::Unknown;
    if (!read.ok()) return Queued::Unreadable;
    return jobs.empty() ? Queued::No : Queued::Yes;
}

bool ProgressDlg::DeleteTemporaryQueue() {
    queueInstalled_ = false;
    if (leaveQueue_) return true;
    if (RunHelper(QueueDeleteLine())) return true;
    // The server is not asked again in this run.
    leaveQueue_ = true;
    return false;
}

bool ProgressDlg::RunHelper(const std::string& commandLine) {
    std::string error;
    // Its outcome is not tested, only whether the print server answered it.
    if (foundation::RunProgram(app(), m_.os().processes()).RunServerProgram(commandLine, m_.os().spooler(), error))
        return true;
    m_.WriteLog("Print server silent: " + commandLine);
    return false;
}

void ProgressDlg::JobFailure(const std::string& reason, bool serverSilent) {
    Timer1.setEnabled(false);
    setProgress(100);
    m_.WriteLog("Job failed: " + reason);
    if (serverSilent) {
        // Nothing more is asked of the server in this run.
        leaveQueue_ = true;
        AddStatus(foundation::WizardModule::SpoolerSilentStatus);
        AddStatus(FailureLines[2]);
    } else {
        for (const char* line : FailureLines) AddStatus(line);
        foundation::SpoolCheck(m_).PurgePrintQueue();
    }
    if (pwSocket) pwSocket->close();
    DeleteTemporaryQueue();
    if (!isLoaded()) return;
    // The page goes away with its log, so the lines are shown once more;
    // the print server's box has been shown.
    if (!serverSilent) m_.ShowError(JoinLines({FailureLines[0], FailureLines[1], FailureLines[2]}), false);
    // Unloaded, so that the next send starts afresh.
    unload();
    m_.FinishDialogForm().show();
}

}  // namespace netcfg
