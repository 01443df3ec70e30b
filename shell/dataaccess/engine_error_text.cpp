#include "shell/dataaccess/engine_error_text.h"

namespace talvers {

std::string missingObject(const char* kind, const std::string& name) {
    return name.empty() ? std::string("A base de dados não tem ") + kind + " pedida."
                        : std::string("A base de dados não tem ") + kind + " " + name + ".";
}

}  // namespace talvers
