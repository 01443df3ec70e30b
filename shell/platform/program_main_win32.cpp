#include <filesystem>

#include "shell/platform/console.h"
#include "shell/platform/program_main.h"
#include "shell/platform/utf8_path.h"

// Linked with -municode: the C runtime calls wmain with the command line in UTF-16, for console
// and windowed programs alike.
int wmain(int argc, wchar_t* argv[]) {
    talvers::useUtf8Console();
    std::vector<std::string> arguments;
    arguments.reserve(static_cast<size_t>(argc));
    // Through a path, which converts UTF-16 to UTF-8 exactly.
    for (int i = 0; i < argc; ++i) {
        arguments.push_back(talvers::utf8FromPath(std::filesystem::path(argv[i])));
    }
    if (arguments.empty()) arguments.emplace_back();
    return talvers::runProgram(arguments);
}
