#pragma once
// SavedFileNotice: how a report window tells the main window where it wrote a workbook, so
// that the main window's status bar can name the file. Called on the user-interface thread
// with the file name as the user chose it.
#include <functional>
#include <string>

namespace talvers {

using SavedFileNotice = std::function<void(const std::string& fileName)>;

}  // namespace talvers
