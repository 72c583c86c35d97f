#pragma once

#include <string>
#include <vector>

namespace testing_support {

// Runs a shell command and gives its standard output; status gets pclose's result.
std::string runCommand(const std::string& command, int* status = nullptr);
// Whether the system's python3 has a module (python3-dbfread, python3-dbf).
bool pythonHas(const std::string& module);
// Whether a program is on the PATH.
bool haveProgram(const std::string& name);
std::vector<std::string> lines(const std::string& text);

} // namespace testing_support
