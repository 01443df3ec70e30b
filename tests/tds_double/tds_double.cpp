// tds-double: a loopback SQL Server stand-in for the tests (see doubleHelp()).
#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "tests/tds_double/double_options.h"
#include "tests/tds_double/tds_double_server.h"

namespace {

int stopPipe[2] = {-1, -1};

void onStopSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(stopPipe[1], &byte, 1);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace talvers;
    try {
        const DoubleOptions options =
            parseDoubleOptions(std::vector<std::string>(argv + 1, argv + argc));
        if (options.help) {
            std::cout << doubleHelp();
            return std::cout.flush() ? 0 : 1;
        }
        if (pipe(stopPipe) != 0) throw std::runtime_error("no pipe for the stop signals");
        struct sigaction action {};
        action.sa_handler = onStopSignal;
        sigaction(SIGTERM, &action, nullptr);
        sigaction(SIGINT, &action, nullptr);
        signal(SIGPIPE, SIG_IGN);
        TdsDoubleServer server(options);
        std::cout << "port " << server.port() << std::endl;
        server.run(stopPipe[0]);
        return 0;
    } catch (const std::invalid_argument& e) {
        std::cerr << "tds-double: " << e.what() << " (see tds-double --help)\n";
    } catch (const std::exception& e) {
        std::cerr << "tds-double: " << e.what() << "\n";
    }
    return 1;
}
