#pragma once
// talvers-sample as its users see it: its options, and what its help and manual page say.
#include "shell/cli/program_syntax.h"

namespace talvers {

const ProgramSyntax& sampleProgram();

}  // namespace talvers
