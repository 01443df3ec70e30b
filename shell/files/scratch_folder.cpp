#include "shell/files/scratch_folder.h"

#include "shell/files/file_error.h"
#include "shell/platform/utf8_path.h"

namespace talvers {
namespace {

// What `make` returns, its failure told as one of the temporary folder `location`.
template <class Make>
auto inTemporaryFolder(const std::filesystem::path& location, Make make) -> decltype(make()) {
    try {
        return make();
    } catch (const FileError& failure) {
        throw FileError(failure.number(), "Não foi possível usar a pasta temporária \"" +
                                              utf8FromPath(location) +
                                              "\": " + failure.description());
    }
}

}  // namespace

ScratchFolder::ScratchFolder()
    : location_(systemTemporaryFolder()),
      parent_(inTemporaryFolder(location_, [this] { return OpenFolder(location_); })),
      folder_(inTemporaryFolder(location_, [this] { return PrivateFolder(parent_); })) {}

std::string ScratchFolder::likelyCause() const {
    if (!folder_.diskNearlyFull()) return "";
    return "o disco da pasta temporária \"" + utf8FromPath(location_) + "\" está cheio";
}

}  // namespace talvers
