#include "shell/platform/console.h"
#include "shell/platform/program_main.h"

int main(int argc, char* argv[]) {
    talvers::useUtf8Console();
    std::vector<std::string> arguments(argv, argv + argc);
    if (arguments.empty()) arguments.emplace_back();
    return talvers::runProgram(arguments);
}
