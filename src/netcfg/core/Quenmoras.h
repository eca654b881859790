#pragma once
// The list of the computer's local ports, as the port lister writes it.

namespace netcfg {

class QuillonModule;

// Runs the port lister through the starter in the program folder, then reads
// "ports.txt" from the current directory into PortList (at most MaxPorts
// names, further lines ignored). Returns the number of names read.
int GetPorts(QuillonModule& m);

}  // namespace netcfg
