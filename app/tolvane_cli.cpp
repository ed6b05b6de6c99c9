// SPDX-License-Identifier: GPL-3.0-or-later
// tolvane-cli: the sexagenary cycle calculator on the command line.
#include <unistd.h>

#include <clocale>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "app/cli_run.h"
#include "app/cli_stdout.h"

int main(int argc, char** argv) {
    // The system's error causes ("No space left on device") in the user's language, in
    // the user's character set; numbers keep the C conventions.
    std::setlocale(LC_MESSAGES, "");
    std::setlocale(LC_CTYPE, "");
    cli::PrepareStandardStreams();
    cli::CheckedOutput output(STDOUT_FILENO);
    std::ostream& out = output.Stream();
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        const int status = cli::RunCli(args, out, std::cerr, cli::CliContext::System());
        // The last buffered lines go out here; losing them is a failure too. A bad stream
        // means RunCli ended on lost output and has said so.
        if (out.good()) out.flush();
        return status;
    } catch (const std::exception& e) {
        // The program folder, or lost output: touching the failed stream again (as RunCli
        // does when it flushes before an error message) raises a plain ios_base::failure.
        std::cerr << (output.Lost() ? output.Lost()->what() : e.what()) << '\n';
        return cli::ExitFailed;
    }
}
