#pragma once
// The console a command-line program writes to: whether stderr is a terminal (where a live
// counter makes sense) and the console's text encoding. Every text the programs print is
// UTF-8; a Windows console shows the bytes in its own code page (850 in Portugal) unless it is
// told otherwise, which useUtf8Console does for the run (console_posix.cpp, console_win32.cpp).
namespace talvers {

// True when the standard error stream is a terminal (a console window on Windows).
bool standardErrorIsTerminal();

// From here on the console shows what the program writes as UTF-8; its own setting comes
// back when the program ends. Nothing to do where terminals take UTF-8 from the locale.
void useUtf8Console();

}  // namespace talvers
