#pragma once
// The texts of the "What is this?" buttons shared by the settings-choice page
// and the Ethernet services page.

#include <string>

#include "foundation/WizardModule.h"

namespace netcfg::help {

inline std::string IP() {
    return "Allows you to either specify a unique IP Address for the network adapter or determine how the IP Addess "
           "gets assigned. IP Address can be obtained through one of the following methods: RARP, BootP, DHCP, or "
           "manually assigned.";
}

inline std::string Speed() {
    return "This option allows you to set the maximum transmission speed, along with the duplex mode, of the network "
           "interface card.";
}

inline std::string Timer() {
    return foundation::JoinLines({"This option allows you to set the time that the Keep Alive Timer will run.",
                                  "When the Keep Alive Timer is enabled, the TCP connection will remain connected",
                                  "even after the print job has terminated."});
}

inline std::string Job() {
    return foundation::JoinLines(
        {"This option allows you to set the synchronization between the NIC and the printer for print job received.",
         "The NIC can either indicate the job is complete when it receives the data (standard),",
         "or wait for the entire job is printed before indicating the job is complete (enhanced)."});
}

inline std::string NetBios() {
    return "This option allows you to specify whether the NIC will respond to the NetBIOS protocol.";
}

inline std::string Ping() { return "This option allows you to configure the periodic PING function."; }

inline std::string Wireless() {
    return foundation::JoinLines({"If you want to configure your wireless adapter, you need to select this option.",
                                  "Some of the wireless settings you can configure include:", "",
                                  "Wireless network name (SSID).",
                                  "Encryption/authentication settings for the wireless network.",
                                  "Wireless transmission channel, power, and speed.",
                                  "The mix of wireless devices operating on your wireless network.",
                                  "Other wireless settings such as operating mode, antenna, power management and "
                                  "preamble."});
}

// The tool tip of every help button.
inline const char* const ToolTip = "Shows a brief description of this option.";

}  // namespace netcfg::help
