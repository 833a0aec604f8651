#pragma once

// A fresh machine for print-system tests: the machine root emptied, its folders made, the
// spooler's job program in place and the spooler running; and an installer's folder holding
// copies of the four built components.

#include <filesystem>
#include <string>

namespace testsupport {

// Paths of the built pieces, given to the test programs by the build.
std::filesystem::path ComponentDir();    // the four .dll files
std::filesystem::path SetupToolsDir();   // libPRNINST.so, prninst, spoolsv

// Empties the machine root and sets it up as a fresh machine.
void ResetMachine();
// A new installer's folder with the components (a stand-in file for the driver's
// user-interface part when the build has no toolkit).
std::filesystem::path MakeInstallerFolder(const std::string& name);
// Stops the spooler and waits until it reports stopped.
void StopSpoolerNow();

}  // namespace testsupport
