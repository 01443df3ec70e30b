#pragma once
// The start of every command that works on the databases: find the settings file
// (--settings as given, else where the desktop program finds it, see locateSettingsFile;
// a file missing there is named with what to do about it), read it, refuse incomplete
// settings, and run start-up. Any failure throws CommandFailure with the start-up failure
// message (error number and description).
#include "shell/cli/command_options.h"
#include "shell/startup.h"

namespace talvers {

inline constexpr OptionSpec kSettingsOption{"--settings", "FICHEIRO", "o ficheiro de definições",
                                            "o que o programa de secretária usa"};

Session openCommandSession(const CommandOptions& options);

}  // namespace talvers
