// tolvane-cli: the sexagenary cycle calculator on the command line.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_run.h"

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        return cli::RunCli(args, std::cout, std::cerr, cli::CliContext::System());
    } catch (const std::exception& e) {
        // Only the program folder can fail before RunCli takes over.
        std::cerr << e.what() << '\n';
        return cli::ExitFailed;
    }
}
