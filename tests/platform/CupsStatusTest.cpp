// How the CUPS backend maps printer and job states onto the status bits.

#include <gtest/gtest.h>

#include "platform/cups/CupsSpooler.h"

using platform::CupsSpooler;
namespace PS = platform::PrinterStatus;
namespace JS = platform::JobStatus;
using Reasons = std::vector<std::string>;

namespace {
constexpr int Idle = 3, Processing = 4, Stopped = 5;
constexpr int Pending = 3, Held = 4, JobProcessing = 5, JobStopped = 6, Canceled = 7, Aborted = 8, Completed = 9;

std::uint32_t printer(int state, Reasons reasons = {}, bool accepting = true) {
    return CupsSpooler::printerStatusBits(state, reasons, accepting);
}
}  // namespace

TEST(CupsStatus, IdleWithoutReasonsIsZero) {
    EXPECT_EQ(printer(Idle), 0u);
    EXPECT_EQ(printer(Idle, {"none"}), 0u);
}

TEST(CupsStatus, States) {
    EXPECT_EQ(printer(Processing), PS::Printing);
    EXPECT_EQ(printer(Stopped, {"paused"}), PS::Paused);
    EXPECT_EQ(printer(Stopped), PS::Paused);
    EXPECT_EQ(printer(Idle, {}, false), PS::NotAvailable);
}

TEST(CupsStatus, Reasons) {
    EXPECT_EQ(printer(Idle, {"media-empty-error"}), PS::PaperOut);
    EXPECT_EQ(printer(Idle, {"media-needed"}), PS::PaperOut);
    EXPECT_EQ(printer(Idle, {"media-jam-error"}), PS::PaperJam);
    EXPECT_EQ(printer(Idle, {"door-open-error"}), PS::DoorOpen);
    EXPECT_EQ(printer(Idle, {"cover-open"}), PS::DoorOpen);
    EXPECT_EQ(printer(Idle, {"interlock-open-warning"}), PS::DoorOpen);
    EXPECT_EQ(printer(Idle, {"toner-low-report"}), PS::TonerLow);
    EXPECT_EQ(printer(Idle, {"marker-supply-low-warning"}), PS::TonerLow);
    EXPECT_EQ(printer(Idle, {"toner-empty-error"}), PS::NoToner);
    EXPECT_EQ(printer(Idle, {"marker-supply-empty-error"}), PS::NoToner);
    EXPECT_EQ(printer(Idle, {"offline-report"}), PS::Offline);
    EXPECT_EQ(printer(Idle, {"shutdown"}), PS::Offline);
    EXPECT_EQ(printer(Idle, {"timed-out"}), PS::Offline);
    EXPECT_EQ(printer(Idle, {"output-area-full"}), PS::OutputBinFull);
    EXPECT_EQ(printer(Idle, {"spool-area-full"}), PS::OutOfMemory);
    EXPECT_EQ(printer(Idle, {"input-tray-missing"}), PS::PaperProblem);
    EXPECT_EQ(printer(Idle, {"fuser-under-temp"}), PS::WarmingUp);
    EXPECT_EQ(printer(Idle, {"deactivated"}), PS::NotAvailable);
    EXPECT_EQ(printer(Idle, {"cups-missing-filter-warning"}), PS::Error);
    EXPECT_EQ(printer(Idle, {"something-new-error"}), PS::Error);
    EXPECT_EQ(printer(Idle, {"something-new-report"}), 0u);
    EXPECT_EQ(printer(Idle, {"cups-waiting-for-job-completed"}), 0u);
    EXPECT_EQ(printer(Stopped, {"paused", "media-empty-error", "toner-low-report"}, false),
              PS::Paused | PS::PaperOut | PS::TonerLow | PS::NotAvailable);
}

TEST(CupsStatus, JobStates) {
    EXPECT_EQ(CupsSpooler::jobStatusBits(Pending, {"none"}, {}), 0u);
    EXPECT_EQ(CupsSpooler::jobStatusBits(Held, {"job-hold-until-specified"}, {}), JS::Paused);
    EXPECT_EQ(CupsSpooler::jobStatusBits(JobProcessing, {"job-printing"}, {}), JS::Printing);
    EXPECT_EQ(CupsSpooler::jobStatusBits(JobStopped, {}, {}), JS::Error);
    EXPECT_EQ(CupsSpooler::jobStatusBits(Canceled, {}, {}), JS::Deleted);
    EXPECT_EQ(CupsSpooler::jobStatusBits(Aborted, {}, {}), JS::Error);
    EXPECT_EQ(CupsSpooler::jobStatusBits(Completed, {}, {}), JS::Printed);
    EXPECT_EQ(CupsSpooler::jobStatusBits(Pending, {"job-incoming"}, {}), JS::Spooling);
    EXPECT_EQ(CupsSpooler::jobStatusBits(Held, {"job-incoming"}, {}), JS::Paused | JS::Spooling);
}

TEST(CupsStatus, PrinterTroubleShowsOnTheActiveJobOnly) {
    Reasons trouble{"media-empty-error", "offline-report", "door-open-error"};
    EXPECT_EQ(CupsSpooler::jobStatusBits(JobProcessing, {}, trouble),
              JS::Printing | JS::PaperOut | JS::Offline | JS::UserIntervention);
    EXPECT_EQ(CupsSpooler::jobStatusBits(Pending, {}, trouble), 0u);
    EXPECT_EQ(CupsSpooler::jobStatusBits(JobStopped, {}, {"media-jam"}), JS::Error | JS::UserIntervention);
}

TEST(CupsStatus, ErrorCodes) {
    EXPECT_EQ(CupsSpooler::errorCode(0), 0u);
    EXPECT_EQ(CupsSpooler::errorCode(0x0406), platform::SpoolError::InvalidPrinterName);  // not-found
    EXPECT_EQ(CupsSpooler::errorCode(0x0401), platform::SpoolError::AccessDenied);        // forbidden
    EXPECT_EQ(CupsSpooler::errorCode(0x0502), platform::SpoolError::ServerUnavailable);
    EXPECT_EQ(CupsSpooler::errorCode(0x0506), platform::SpoolError::NotReady);  // not accepting jobs
    EXPECT_EQ(CupsSpooler::errorCode(0x0500), platform::SpoolError::GeneralFailure);
}
