#pragma once
// The window of the system-information program: a frame titled "System
// Information" that shows a summary. Tab goes through it control by
// control (the printer table is one stop), Enter and Escape close it.

#include <memory>

#include "SystemSummary.h"

class QWidget;

namespace sysinfo {

std::unique_ptr<QWidget> NewSummaryWindow(const SystemSummary& s);

}  // namespace sysinfo
