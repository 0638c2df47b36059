#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace velmora {

// The headless companion: every command the desktop program computes, on the same model.
// Returns the process exit code; output goes to the given streams so tests can run it in process.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace velmora
