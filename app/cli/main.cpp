#include "CliCommands.h"
#include "CliOutput.h"

#include <iostream>
#include <unistd.h>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    cli::DescriptorOutput standardOutput(STDOUT_FILENO);
    std::ostream out(&standardOutput);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cli::run(args, out, std::cerr);
}
