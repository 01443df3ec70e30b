// Cell-text cleaning under arbitrary bytes: the result must be valid UTF-8 holding only
// characters XML 1.0 allows, and cleaning it again must change nothing.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/dataaccess/text_utils.h"
#include "shell/dataaccess/xml_text.h"

namespace {

bool onlyXmlChars(std::string_view text) {
    for (size_t pos = 0; pos < text.size();) {
        if (!talvers::isXmlChar(talvers::decodeUtf8(text, pos))) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string clean = talvers::validXmlText(bytes);
    if (!talvers::isValidUtf8(clean) || !onlyXmlChars(clean)) std::abort();
    if (talvers::validXmlText(clean) != clean) std::abort();
    // Valid input without forbidden characters passes unchanged.
    if (talvers::isValidUtf8(bytes) && onlyXmlChars(bytes) && clean != bytes) std::abort();
    return 0;
}
