#include <windows.h>

#include <sddl.h>

#include <cstdlib>

#include "shell/files/windows_file_error.h"
#include "shell/platform/utf8_path.h"
#include "shell/settings/settings_places.h"

namespace talvers {
namespace {

// Full access for the folder's owner alone, inherited by every file and folder made inside;
// nothing inherited from above (the protected list), so no group or other user gets in.
constexpr const wchar_t* kOwnerOnlyInherited = L"D:P(A;OICI;FA;;;OW)";

}  // namespace

std::optional<std::string> processEnvironment(const char* name) {
    // The narrow environment is in the ANSI code page; the wide one converts to UTF-8 exactly.
    const std::wstring wideName(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (value == nullptr) return std::nullopt;
    // Through a path, which converts UTF-16 exactly and leaves the text as it is.
    return utf8FromPath(std::filesystem::path(value));
}

std::optional<std::filesystem::path> userConfigurationFolder(const EnvironmentLookup& env) {
    return absoluteFolder(env, "APPDATA");
}

std::optional<std::filesystem::path> machineConfigurationFolder(const EnvironmentLookup& env) {
    return absoluteFolder(env, "PROGRAMDATA");
}

std::optional<std::filesystem::path> runningProgramFolder() {
    std::wstring buffer(32768, L'\0');
    const DWORD length =
        GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0 || length >= buffer.size()) return std::nullopt;
    buffer.resize(length);
    return std::filesystem::path(buffer).parent_path();
}

std::optional<FileError> makeOwnerOnlyFolder(const std::filesystem::path& folder) {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(kOwnerOnlyInherited, SDDL_REVISION_1,
                                                              &descriptor, nullptr)) {
        return windowsFolderError(GetLastError());
    }
    SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
    const bool made = CreateDirectoryW(folder.c_str(), &attributes) != 0;
    const DWORD error = made ? ERROR_SUCCESS : GetLastError();
    LocalFree(descriptor);
    if (error == ERROR_SUCCESS || error == ERROR_ALREADY_EXISTS) return std::nullopt;
    return windowsFolderError(error);
}

}  // namespace talvers
