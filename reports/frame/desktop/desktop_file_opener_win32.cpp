#include <windows.h>

#include <shellapi.h>

#include "reports/frame/desktop/desktop_file_opener.h"
#include "shell/platform/utf8_path.h"

namespace talvers {

bool DesktopFileOpener::open(const std::string& path) {
    const std::filesystem::path file = pathFromUtf8(path);
    SHELLEXECUTEINFOW request{};
    request.cbSize = sizeof request;
    // No box from the shell (the program tells the user itself), and the call returns once the
    // program is started, whatever thread it runs on.
    request.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    request.lpFile = file.c_str();
    request.nShow = SW_SHOWNORMAL;
    return ShellExecuteExW(&request) != FALSE;
}

}  // namespace talvers
