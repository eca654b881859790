#include "printercfg/core/KRNCmds.h"

#include "foundation/RawPrint.h"
#include "platform/Spooler.h"
#include "printercfg/core/MarrowbyModule.h"
#include "printercfg/pages/Operation.h"
#include "printercfg/pages/PrinterSetup.h"

namespace printercfg {

namespace {

constexpr const char* CrLf = "\r\n";
const std::string BlockStart = "!VMD_SETUP\r\n";
const std::string BlockEnd = "VMD_END\r\n";

// Entry `row` of a table; empty when the table holds no such row.
template <class Table>
std::string entry(const Table& table, std::optional<int> row) {
    if (!row || *row < 0 || static_cast<std::size_t>(*row) >= table.size()) return {};
    return table[static_cast<std::size_t>(*row)];
}

}  // namespace

void KRNCmds::send(const std::string& job, const char* label) {
    foundation::RawPrint raw(m_, false);
    last_ = {};
    last_.spooled = raw.SendRawJob(job);
    last_.serverSilent = raw.serverSilent();
    if (last_.spooled) last_.jobId = m_.os().spooler().lastJobId();
    if (!label) return;
    m_.WriteLog(std::string(label) + CrLf + job);
    m_.WriteLog(std::string(label) + CrLf);
}

void KRNCmds::SendEmuCmd(int n) {
    send(BlockStart + "CONFIG-OVERLAY;" + std::to_string(n) + "." + CrLf + "guardsave   .e  0   0x0" + CrLf +
             EmulationEntry() + "CONFIG-OVERLAY;END." + CrLf + BlockEnd,
         "SendEmuCmd ");
}

void KRNCmds::SendLoadCfgCmd(int n) {
    send(BlockStart + "CONFIG-LOAD;" + std::to_string(n) + CrLf + BlockEnd, "SendEmuCmd ");
}

void KRNCmds::SendCalibrateCmd() {
    send(BlockStart + "WINMODE-BEGIN\r\n" + BlockEnd + "~PAPER;CALIBRATE\r\n" + BlockStart + "WINMODE-END\r\n" +
             BlockEnd,
         "SendCalibrateCmd ");
}

void KRNCmds::SendSaveCfgCmd(int n) {
    send(BlockStart + (n > 0 ? "CONFIG-SAVE;" + std::to_string(n) + CrLf : std::string{}) + BlockEnd,
         "SendSaveCfgCmd ");
}

void KRNCmds::SendSetPowerUpCmd(int n) {
    send(BlockStart + (n >= 0 ? "CONFIG-POWERUP;" + std::to_string(n) + CrLf : std::string{}) + BlockEnd,
         "SendSetPowerUpCmd ");
}

void KRNCmds::SendDummyJob() { send(BlockStart + BlockEnd, nullptr); }

bool KRNCmds::SendCfgCmd() {
    const std::string job = BuildCfgJob(ReadCfgChoices());
    last_ = {};
    if (job.empty()) return false;
    send(job, "SendCfgCmd ");
    return true;
}

std::string KRNCmds::BuildCfgJob(const CfgChoices& c) const {
    std::string engine = entry(m_.MediaTypeCmds, c.mediaTypeRow);
    if (c.labelSizeRows) {
        const std::string length = entry(m_.LabelLengthCodes, c.labelSizeRows->first);
        const std::string width = entry(m_.LabelWidthCodes, c.labelSizeRows->second);
        if (!length.empty() && !width.empty()) engine += "ENGINE-LENGTH;" + length + ":WIDTH;" + width + CrLf;
    }
    engine += entry(m_.DispenseCmds, c.dispenseRow);
    if (c.horzShift) engine += "ENGINE-IMAGE_SHFT_H;" + std::to_string(10 * *c.horzShift) + CrLf;
    if (c.vertShift) engine += "ENGINE-IMAGE_SHFT_V;" + std::to_string(10 * *c.vertShift) + CrLf;
    const std::string window = entry(m_.OrientationCmds, c.orientationRow) + entry(m_.PrintSpeedCmds, c.printSpeedRow) +
                               entry(m_.GapSensorCmds, c.gapSensorRow);
    std::string job;
    if (!engine.empty()) job += BlockStart + engine + BlockEnd;
    if (!window.empty())
        job += BlockStart + "WINMODE-BEGIN\r\n" + BlockEnd + window + BlockStart + "WINMODE-END\r\n" + BlockEnd;
    return job;
}

CfgChoices KRNCmds::ReadCfgChoices() {
    const Operation& media = m_.OperationForm();
    const PrinterSetup& print = m_.PrinterSetupForm();
    // Only an unchecked Ignore box (value 0) sends its setting.
    auto row = [](const ui::CheckBox& box, const ui::ComboBox& list) {
        return box.value() == 0 ? std::optional<int>(list.listIndex()) : std::nullopt;
    };
    auto value = [](const ui::CheckBox& box, const ui::ScrollBar& bar) {
        return box.value() == 0 ? std::optional<int>(bar.value()) : std::nullopt;
    };
    CfgChoices c;
    c.mediaTypeRow = row(media.MediaTypeCB, media.MediaTypeCombo);
    if (media.MediaSizeCB.value() == 0)
        c.labelSizeRows = std::make_pair(media.LabelLengthCombo.listIndex(), media.LabelWidthCombo.listIndex());
    c.dispenseRow = row(media.DispenseCB, media.DispenseCombo);
    c.horzShift = value(print.HorzCB, print.HorzShiftHScroll);
    c.vertShift = value(print.VertCB, print.VertShiftHScroll);
    c.orientationRow = row(media.OrientationCB, media.OrientationCombo);
    c.printSpeedRow = row(print.PrintSpeedCB, print.PrintSpeedCombo);
    c.gapSensorRow = row(print.GapCB, print.GapCombo);
    return c;
}

std::string KRNCmds::EmulationEntry() {
    return entry(m_.EmulationCmds, m_.PrinterSetupForm().EmulationCombo.listIndex());
}

}  // namespace printercfg
