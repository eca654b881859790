#pragma once
// The printer driver of the 7391-Q25 family: which attached devices it is
// for, the PPD it installs for each (whose *NickName the printer wizard
// reads back as the driver name), and the queues it adds.

#include <string>
#include <vector>

#include "platform/Spooler.h"

namespace driversetup {

// A device of the family: "7391" in its make-and-model or device ID.
bool isFamilyDevice(const platform::LocalDevice& device);

struct Model {
    std::string model;      // "7391-Q25-006-300", ...
    std::string nickName;   // "Tessivarn 7391-Q25-006-300", ...
    std::string queueName;  // "Tessivarn-7391-Q25-006-300", ...
    int widthInches = 4;
    int dpi = 203;
};

// The model of a family device, from its model texts (make-and-model and
// the device ID's model field; never its serial number).
Model modelOf(const platform::LocalDevice& device);

// The PPD of a model.
std::string ppdText(const Model& model);

// Adds a queue with the model's PPD for each family device the spooler
// lists that has none yet; `ppdFolder` takes the PPD files meanwhile.
// Stops at the first queue the spooler refuses. Returns the queues added;
// `failure` holds the error of a refusal (None otherwise).
std::vector<std::string> install(platform::Spooler& spooler, const std::string& ppdFolder, std::uint32_t& failure);

}  // namespace driversetup
