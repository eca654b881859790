#pragma once
// The progress page: a 500 ms timer drives the delivery of the configuration
// job. The progress bar's value is the state of the sequence: 0 start, 1 to
// 39 waiting for the TCP connection, 40 ready to send, 50 status read, 80
// sent, 100 finished.

#include <cstdint>
#include <memory>
#include <string>

#include "netcfg/core/Page.h"
#include "ui/Application.h"
#include "ui/Control.h"

namespace foundation {
class JobWatch;
}

namespace platform {
class TcpClient;
}

namespace netcfg {

class ProgressDlg : public Page {
public:
    explicit ProgressDlg(QuillonModule& module);
    ~ProgressDlg() override;

    ui::Label Label1;
    ui::Label Label2;
    ui::Label Label3;
    ui::ProgressBar ProgressBar;
    ui::Label Label4;
    ui::TextBox StatusLog;
    ui::Timer Timer1;
    // The TCP client of TCP/IP output; made when the page starts with that output.
    std::unique_ptr<platform::TcpClient> pwSocket;

    void Timer1_Timer();
    // The send step; false when the run ended in JobFailure.
    bool Start_Job();

    // The temporary print queue and the lines that make and remove it.
    static constexpr const char* TemporaryQueue = "Quillon";
    static constexpr const char* TemporaryDriver = "Generic / Text Only";
    static constexpr const char* BatchName = "quillon.bat";
    static std::string QueueInstallLine(const std::string& port);
    static std::string QueueDeleteLine();
    // The starter in the program folder, given the batch file's full path.
    std::string BatchStartLine() const;

    // Waits of the sequence.
    static constexpr int TickMs = 500;
    static constexpr int StatusWaitSeconds = 15;
    static constexpr std::uint32_t QueueLeaveMs = 60'000;
    static constexpr std::uint32_t QueuePollMs = 100;

protected:
    void Form_Load() override;
    // An end of the program while the temporary queue exists removes it first.
    void Form_Unload(int& cancel) override;

private:
    enum class Output { Tcp, File, LocalPort };
    Output output() const;
    int progress() const { return ProgressBar.value(); }
    void setProgress(int value) { ProgressBar.setValue(value); }
    void rearm();
    void AddStatus(const std::string& line);

    // False when the run ended in JobFailure (or the page went away).
    bool PrepareTransport();
    bool FinishTransport();
    bool Check_Job_Status(std::int16_t waitSeconds);
    // Ends a run that did not deliver: its lines, the purge, the client and
    // the temporary queue gone, this page unloaded and the finish page shown.
    // `serverSilent`: the print server did not answer, and its box has said
    // so; nothing is purged, the queue is left to the next run's removal and
    // no other box follows.
    void JobFailure(const std::string& reason, bool serverSilent = false);

    // False when the print server was silent to the removal.
    bool DeleteTemporaryQueue();
    // Runs a helper program that works on the print server and waits for
    // it; false when the server was silent (see RunProgram::RunServerProgram).
    bool RunHelper(const std::string& commandLine);
    // Whether the temporary queue still holds a job; Unknown when the print
    // server does not answer, Unreadable when it answers with an error.
    enum class Queued { No, Yes, Unknown, Unreadable };
    Queued JobQueued();

    ui::IoSubscription io_;
    bool queueInstalled_ = false;
    // The job spooled to the temporary queue, and the watch of the queue's
    // jobs from before it was sent until its end is known.
    std::uint32_t jobId_ = 0;
    std::unique_ptr<foundation::JobWatch> watch_;
    // Set once the print server was silent: the run does not try to remove
    // the queue again (the next run's preparation does).
    bool leaveQueue_ = false;
};

}  // namespace netcfg
