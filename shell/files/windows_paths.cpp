#include "shell/files/windows_paths.h"

#include <windows.h>

#include <string>

#include "shell/files/windows_file_error.h"

namespace talvers {

std::filesystem::path pathOfHandle(std::intptr_t native) {
    const HANDLE opened = reinterpret_cast<HANDLE>(native);
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(opened, path.data(), static_cast<DWORD>(path.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0) throw windowsFileError(GetLastError());
        // Too small a buffer is answered with the size needed, the final zero included.
        if (length < path.size()) {
            path.resize(length);
            return std::filesystem::path(path);
        }
        path.resize(length);
    }
}

}  // namespace talvers
