#pragma once
// The texts that several pages show: those of the "What is this?" buttons of
// the settings-choice pages and the pages they lead to, and the refusal of an
// empty choice.

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

// The radio rows, 0 to 9, on the wireless settings choice page and the radio page.
inline std::string Radio(int row) {
    switch (row) {
        case 0:
            return foundation::JoinLines({"Specifies the name of the wireless network you are connecting to.",
                                          "The network name can be from 1 to 32 Ascii characters long."});
        case 1:
            return foundation::JoinLines(
                {"Specifies the operating mode of the wireless network.", "",
                 "Normal: Specify a standard network configuration.",
                 "Computer-to-Computer: Specifies an Adhoc or peer-to-peer network configuration.",
                 "Pseudo IBSS: Specifies a proprietary adhoc network configuration."});
        case 2:
            return "Specifies the minimum transmission speed. Specified in megabits per second";
        case 3:
            return "Specifies the wireless channel to use.";
        case 4:
            return "Specifies which wireless antenna to use.";
        case 5:
            return foundation::JoinLines({"Specifies the length of the preamble.", "",
                                          "Default:  Allows the card to use its own factory default setting.",
                                          "Long:  Specifies the use of a long preamble.",
                                          "Short: Specifies the use of a short preamble.",
                                          "Note:  Use default if you are unsure of the correct setting."});
        case 6:
            return "Select the wireless transmission power. Specified as a percentage.";
        case 7:
            return foundation::JoinLines({"Specifies if power management should be enabled.", "",
                                          "Off: Disables power-save mode.", "On:  Enables power-save mode."});
        case 8:
            return foundation::JoinLines(
                {"Specifies the mix of wireless devices connected to the network.", "",
                 "802.11b Only: Specifies a network containing only 802.11b wireless devices.",
                 "802.11b and 802.11g: Specifies a network containing both 802.11b and 802.11g wireless devices."});
        default:
            return "When enabled, specifies that the wireless NIC adapts to international frequency requirements in "
                   "Europe.";
    }
}

// Both settings-choice pages refuse a Next with nothing ticked.
inline std::string NothingSelected() {
    return foundation::JoinLines({"You need to select one of the check boxes to continue.", "",
                                  "If you don't wish to change any of the available settings,",
                                  "press the Cancel button to exit."});
}

// The tool tip of every help button.
inline const char* const ToolTip = "Shows a brief description of this option.";

}  // namespace netcfg::help
