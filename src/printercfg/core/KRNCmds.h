#pragma once
// The printer command jobs: the settings job made from the two settings
// pages, the emulation overlay, loading, saving and power-up selection of a
// stored configuration, calibration, and the empty probe job. Each job goes
// to the current printer as one raw document "Marrowby Command".

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace printercfg {

class MarrowbyModule;

// The settings of the two settings pages that take part in the settings job
// (their Ignore box unchecked): list rows, label-size rows, shift values.
struct CfgChoices {
    std::optional<int> mediaTypeRow;
    std::optional<std::pair<int, int>> labelSizeRows;  // length row, width row
    std::optional<int> dispenseRow;
    std::optional<int> horzShift;  // hundredths of an inch
    std::optional<int> vertShift;
    std::optional<int> orientationRow;
    std::optional<int> printSpeedRow;
    std::optional<int> gapSensorRow;
};

class KRNCmds {
public:
    explicit KRNCmds(MarrowbyModule& module) : m_(module) {}

    // What became of the last job sent: whether the spooler took it, its id,
    // and whether the print server failed to answer (its box has said so).
    struct Sent {
        bool spooled = false;
        std::uint32_t jobId = 0;
        bool serverSilent = false;
    };

    void SendEmuCmd(int n);
    void SendLoadCfgCmd(int n);
    // True when a settings job was sent, false when there was nothing to send.
    bool SendCfgCmd();
    void SendCalibrateCmd();
    void SendSaveCfgCmd(int n);
    void SendSetPowerUpCmd(int n);
    void SendDummyJob();

    const Sent& lastJob() const { return last_; }

    // The choices of the two settings pages, loading a page that is not loaded.
    CfgChoices ReadCfgChoices();
    // The settings job of the choices; empty when nothing takes part. A row
    // that its table does not hold leaves its line out.
    std::string BuildCfgJob(const CfgChoices& choices) const;
    // The emulation switch line of the print-settings page's row.
    std::string EmulationEntry();

private:
    // Spools the job and writes the debug entries under the label (none: no entries).
    void send(const std::string& job, const char* label);

    MarrowbyModule& m_;
    Sent last_;
};

}  // namespace printercfg
