#pragma once
// "Progress Monitor": sends the printer command jobs one after another,
// checks after each that the queue moves, and on a stuck job reads the
// printer's front panel over SNMP, purges the wizard's jobs and returns the
// user to the print settings.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/Spooler.h"
#include "printercfg/core/KRNCmds.h"
#include "printercfg/core/Page.h"
#include "printercfg/core/Snmp.h"
#include "ui/Application.h"
#include "ui/Control.h"

namespace platform {
class DatagramSocket;
}

namespace printercfg {

class ProgressDlg : public Page {
public:
    explicit ProgressDlg(MarrowbyModule& module);
    ~ProgressDlg() override;

    ui::Label Label1;
    ui::Label Label4;
    ui::Label Label2;
    ui::ProgressBar ProgressBar;
    ui::Label Label3;
    ui::TextBox StatusLog;
    // The SNMP client's datagram socket, a fresh one for each request.
    std::unique_ptr<platform::DatagramSocket> pwSocket;

    // The community of every request.
    static constexpr const char* SnmpCommunityName = "tamrel";
    static constexpr const char* SysDescrOid = "1.3.6.1.2.1.1.1.0";
    static constexpr const char* PanelLine1Oid = "1.3.6.1.2.1.43.16.5.1.2.1.1";
    static constexpr const char* PanelLine2Oid = "1.3.6.1.2.1.43.16.5.1.2.1.2";
    // How long a request waits for its reply.
    static constexpr std::uint32_t ReplyWaitMs = 5000;
    // A pass of a wait where time passes only when told (the headless pump);
    // a real event loop waits for the next event instead.
    static constexpr std::uint32_t PollMs = 1;

    // SNMP state: the request, its encoding, and the decoded reply.
    SnmpRequest Request;
    SnmpBuffer SnmpRequestBuffer{};
    std::string SnmpOid;
    std::string SnmpCommunity;
    std::string SnmpReplyText;
    // The agent's port; tests point it at their own agent.
    std::uint16_t SnmpPort = 161;

    // Sends one request and returns at once; a request that cannot be
    // encoded, or whose destination is no address, is not sent.
    void snmpSend(const std::string& Destination, const std::string& Community, const std::string& OID,
                  std::uint8_t getType);
    // Whether the agent's system description holds the word "Corvasil".
    bool IsCorvasil(const std::string& IPAddr);
    // TAB, front-panel line 1, CR LF, TAB, line 2; "" when the agent is not one of ours.
    std::string Get_SNMP_Status(const std::string& sIPAddress);
    // A datagram from the agent has arrived.
    void pwSocket_DataArrival(std::size_t bytesTotal);

    // The send sequence: each requested job in its order, the queue checked
    // after each. Returns when the sequence has ended.
    void Start_Job();
    // Whether the queue moved after the last job (the spooler reports StepJob
    // completed, or no longer knows it and did not watch the queue, whatever
    // became of the jobs before it): true, or false after JobFailure or SpoolerFailure (or when the
    // program ended during the waits).
    bool Check_Job_Status(int waitSeconds);
    // Reports a stuck job with the printer's front panel, purges the
    // wizard's jobs and shows the print-settings page.
    void JobFailure();
    // True while Start_Job runs: closes and the other pages' buttons are refused.
    bool sending() const { return sending_; }
    // The job the next Check_Job_Status looks after (Start_Job sets it).
    KRNCmds::Sent StepJob{true, 0};

    // True when a reply to the pending request has been decoded.
    bool replyReceived() const { return replyReceived_; }

    // Appends a line to the status log.
    void AppendStatus(const std::string& line);

protected:
    void Form_Unload(int& cancel) override;

private:
    // Waits for a reply to the pending request, at most ReplyWaitMs.
    void waitForReply();
    // Lets events run for `ms` on the monotonic clock, or until `done`.
    template <class Done>
    void wait(std::uint32_t ms, Done done);
    void closeSocket();
    // Lets `ms` pass; false when the program ended meanwhile.
    bool pause(std::uint32_t ms);
    // The program has ended, or this page was unloaded.
    bool ended() const;
    // What became of a job sent to the current printer; Unknown when it was not spooled.
    platform::JobOutcome outcome(const KRNCmds::Sent& job);
    // Ends a run whose print server did not answer (`showBox`: say so; else
    // it has been said): no printer is blamed and nothing is purged; the
    // print-settings page is shown. Returns false, the check's result.
    bool SpoolerFailure(bool showBox);
    void lockOtherPages();
    void unlockOtherPages();

    ui::IoSubscription io_;
    bool pending_ = false;
    bool replyReceived_ = false;
    std::string expectedOid_;
    bool sending_ = false;
    // Buttons of other pages disabled while the sequence runs.
    std::vector<std::pair<std::weak_ptr<ui::Form>, ui::Control*>> locked_;
};

}  // namespace printercfg
