#include "shell/files/private_folder_names.h"

#include <cstdio>
#include <random>

namespace talvers {

bool looksLikePrivateFolder(std::string_view name) {
    return name.size() == kPrivateFolderPrefix.size() + kPrivateFolderRandomDigits &&
           name.substr(0, kPrivateFolderPrefix.size()) == kPrivateFolderPrefix &&
           name.find_first_not_of("0123456789abcdef", kPrivateFolderPrefix.size()) ==
               std::string_view::npos;
}

std::string newPrivateFolderName() {
    std::random_device random;
    const unsigned long long value =
        static_cast<unsigned long long>(random()) << 32 | static_cast<unsigned long long>(random());
    char digits[kPrivateFolderRandomDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx", value);
    return std::string(kPrivateFolderPrefix) + digits;
}

bool isWholeRunMark(std::string_view text) {
    return text == kRunMark;
}

bool isUnfinishedRunMark(std::string_view text) {
    return text.size() < kRunMark.size() && kRunMark.substr(0, text.size()) == text;
}

}  // namespace talvers
