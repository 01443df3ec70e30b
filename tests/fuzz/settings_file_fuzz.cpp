// Any bytes given as a settings file parse without crashing, and every value read back is
// valid UTF-8 whatever the file's encoding.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "shell/dataaccess/text_utils.h"
#include "shell/settings/settings_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const talvers::SettingsFile file = talvers::SettingsFile::parse(bytes);
    for (const char* key : {"Motor", "Servidor", "Empresa", "Username", "Password"}) {
        const std::string value = file.text("Ligação", key);
        if (!talvers::isValidUtf8(value)) std::abort();
    }
    return 0;
}
