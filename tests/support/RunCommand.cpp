#include "RunCommand.h"

#include <cstdio>
#include <sstream>

namespace testing_support {

std::string runCommand(const std::string& command, int* status)
{
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return output;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
        output.append(buffer, n);
    const int rc = pclose(pipe);
    if (status)
        *status = rc;
    return output;
}

bool pythonHas(const std::string& module)
{
    int status = -1;
    runCommand("/usr/bin/python3 -c 'import " + module + "' 2>/dev/null", &status);
    return status == 0;
}

bool haveProgram(const std::string& name)
{
    int status = -1;
    runCommand("command -v " + name + " >/dev/null 2>&1", &status);
    return status == 0;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

} // namespace testing_support
