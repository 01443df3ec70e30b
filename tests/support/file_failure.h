#pragma once
// What a file operation under test ended with: "" when it succeeded, else the FileError's
// description and number as a message shows them ("o disco está cheio  28").
#include <string>

#include "shell/files/file_error.h"

namespace talvers::testing {

template <typename Run>
std::string fileFailureOf(Run run) {
    try {
        run();
        return "";
    } catch (const FileError& failure) {
        return failure.description() + "  " + std::to_string(failure.number());
    }
}

}  // namespace talvers::testing
