#include "shell/dataaccess/odbc/odbc_connect_watchdog.h"

#ifdef __linux__
#include <dirent.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cstdlib>
#endif

namespace talvers {
namespace {

#ifdef __linux__
// Calls visit(fd, inode) for every socket the process has open.
template <typename Visit>
void forEachSocket(Visit visit) {
    DIR* folder = opendir("/proc/self/fd");
    if (folder == nullptr) return;
    while (const dirent* entry = readdir(folder)) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == dirfd(folder)) continue;
        struct stat status {};
        if (fstat(static_cast<int>(fd), &status) == 0 && S_ISSOCK(status.st_mode)) {
            visit(static_cast<int>(fd), static_cast<unsigned long>(status.st_ino));
        }
    }
    closedir(folder);
}

bool isNetworkSocket(int fd) {
    int domain = 0;
    socklen_t length = sizeof domain;
    return getsockopt(fd, SOL_SOCKET, SO_DOMAIN, &domain, &length) == 0 &&
           (domain == AF_INET || domain == AF_INET6);
}
#endif

}  // namespace

ConnectWatchdog::ConnectWatchdog(std::chrono::seconds deadline) {
#ifdef __linux__
    forEachSocket([this](int, unsigned long inode) { socketsBefore_.insert(inode); });
#endif
    thread_ =
        std::thread(&ConnectWatchdog::watch, this, std::chrono::steady_clock::now() + deadline);
}

ConnectWatchdog::~ConnectWatchdog() {
    disarm();
}

bool ConnectWatchdog::disarm() {
    {
        std::lock_guard lock(mutex_);
        disarmed_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
    std::lock_guard lock(mutex_);
    return fired_;
}

void ConnectWatchdog::watch(std::chrono::steady_clock::time_point until) {
    std::unique_lock lock(mutex_);
    if (wake_.wait_until(lock, until, [this] { return disarmed_; })) return;
    fired_ = true;
#ifdef __linux__
    forEachSocket([this](int fd, unsigned long inode) {
        if (socketsBefore_.count(inode) == 0 && isNetworkSocket(fd)) shutdown(fd, SHUT_RDWR);
    });
#endif
}

}  // namespace talvers
