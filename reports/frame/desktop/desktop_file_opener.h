#pragma once
// DesktopFileOpener: opens a file or folder with the desktop's default program. Its answer is
// whether that worked, as far as the desktop says.
// - POSIX (desktop_file_opener_posix.cpp), through QDesktopServices: on a desktop with
//   xdg-utils the launcher starts even when no program takes the file's type and then fails
//   out of sight, so there the type's default program is looked up first (`xdg-mime query
//   default TYPE`) and a type without one is not handed on at all. Without xdg-mime, Qt's own
//   answer stands (false when it finds no launcher).
// - Windows (desktop_file_opener_win32.cpp), through the shell (ShellExecuteExW, the path in
//   UTF-16): false when no program is associated with the file's type or the shell cannot
//   start it; the shell shows no box of its own, the program's message says what happened.
#include "reports/frame/output/output_step.h"

namespace talvers {

class DesktopFileOpener : public FileOpener {
  public:
    bool open(const std::string& path) override;
};

}  // namespace talvers
