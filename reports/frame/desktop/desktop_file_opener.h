#pragma once
// DesktopFileOpener: opens a file or folder with the desktop's default program
// (QDesktopServices). Its answer is whether that worked, as far as the desktop says: on a
// desktop with xdg-utils the launcher starts even when no program takes the file's type and
// then fails out of sight, so there the type's default program is looked up first
// (`xdg-mime query default TYPE`) and a type without one is not handed on at all. Without
// xdg-mime, Qt's own answer stands (false when it finds no launcher).
#include "reports/frame/output/output_step.h"

namespace talvers {

class DesktopFileOpener : public FileOpener {
  public:
    bool open(const std::string& path) override;
};

}  // namespace talvers
