#pragma once
// How a private folder and its mark are named and recognised, alike on every system.
#include <string>
#include <string_view>

namespace talvers {

inline constexpr std::string_view kPrivateFolderPrefix = ".talvers-";
inline constexpr std::size_t kPrivateFolderRandomDigits = 16;
inline constexpr const char* kRunMarkName = ".talvers-run";
inline constexpr std::string_view kRunMark =
    "Talvers: pasta temporária de uma gravação. Pode ser apagada se nenhum Talvers estiver a "
    "gravar.\n";
// How many fresh names a run tries before it gives up on making its folder.
inline constexpr int kPrivateFolderAttempts = 16;
// Below this, a write that failed without saying why most likely found the disk full.
inline constexpr unsigned long long kNearlyFullBytes = 1 << 20;

// Whether `name` is one a private folder could have (the prefix and the random digits).
bool looksLikePrivateFolder(std::string_view name);
// A new random name, drawn afresh each time: processes forked from one parent must not share
// a sequence.
std::string newPrivateFolderName();
// Whether `text`, read from a mark, is a whole mark, or the start of one that a run killed
// while writing it left.
bool isWholeRunMark(std::string_view text);
bool isUnfinishedRunMark(std::string_view text);

}  // namespace talvers
