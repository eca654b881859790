#include "printercfg/core/ProgressDlg.h"

#include "platform/CodePage.h"
#include "platform/Platform.h"
#include "platform/Socket.h"
#include "printercfg/core/MarrowbyModule.h"

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
        clock.sleep(PollMs);
    }
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
    if (!pwSocket) {
        pwSocket = m_.os().sockets().datagramSocket();
        pwSocket->onDataArrival = [this](std::size_t bytes) { pwSocket_DataArrival(bytes); };
        io_ = m_.ui().addIoSource([this] {
            if (pwSocket) pwSocket->progress();
        });
    }
    if (!pwSocket->setRemote(trim(Destination), SnmpPort)) return;
    expectedOid_ = Request.name;
    pending_ = true;
    // The whole buffer goes out: the message, then zeros.
    if (!pwSocket->send(std::string(SnmpRequestBuffer.begin(), SnmpRequestBuffer.end()))) pending_ = false;
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
        if (SnmpReplyText.compare(start, blank == std::string::npos ? std::string::npos : blank - start,
                                  "Corvasil") == 0)
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
