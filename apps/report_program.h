#pragma once
// talvers-report as its users see it: its commands (report_command.h) and what its help and
// manual page say about them.
#include <span>

#include "apps/report_command.h"
#include "shell/cli/program_syntax.h"

namespace talvers {

inline constexpr std::string_view kReportProgramName = "talvers-report";

std::span<const ReportCommand* const> reportCommands();
const ProgramSyntax& reportProgram();

}  // namespace talvers
