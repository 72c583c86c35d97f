#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// Runs one reelkeeper-cli command line (arguments after the program name).
// Normal output goes to out, errors as one line to err; the result is the
// process exit code.
int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace cli
