#pragma once
// Every program's entry. The system's main, in program_main_posix.cpp or program_main_win32.cpp
// (a wide main there: Windows hands a program its command line in UTF-16, and the narrow argv
// is in the ANSI code page, which loses what it cannot represent), converts the arguments to
// UTF-8 once, readies the console for UTF-8 and calls the program's runProgram. Each program
// defines runProgram and links talvers_program_main.
#include <string>
#include <vector>

namespace talvers {

// The program's own main: `arguments` are UTF-8 texts, the program's name first (an empty
// name when the system gave none, so there is always one).
int runProgram(const std::vector<std::string>& arguments);

}  // namespace talvers
