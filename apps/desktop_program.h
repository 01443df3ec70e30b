#pragma once
// talvers, the desktop program, as its command line sees it: one optional argument naming the
// settings file, the general options, and what its help and manual page say. Qt's own
// options (-platform, -style, ...) are not taken: Qt reads the same from its environment
// variables (QT_QPA_PLATFORM, ...), and every other argument that starts with "-" is a usage
// error rather than a settings file of that name.
#include <string>
#include <vector>

#include "shell/cli/program_syntax.h"

namespace talvers {

const ProgramSyntax& desktopProgram();

// The settings file's name as given ("" for the default one). Throws UsageError for an
// option or more than one argument; "--help" and "--version" are answered before this.
std::string desktopSettingsName(const std::vector<std::string>& args);

}  // namespace talvers
