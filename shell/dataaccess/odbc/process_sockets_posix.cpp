#include <dirent.h>
#include <sys/socket.h>
#include <sys/stat.h>

#include <cstdlib>

#include "shell/dataaccess/odbc/process_sockets.h"

namespace talvers {
namespace {

bool isNetworkSocket(int fd) {
    int domain = 0;
    socklen_t length = sizeof domain;
    return getsockopt(fd, SOL_SOCKET, SO_DOMAIN, &domain, &length) == 0 &&
           (domain == AF_INET || domain == AF_INET6);
}

}  // namespace

std::vector<ProcessSocket> processSockets() {
    std::vector<ProcessSocket> sockets;
    DIR* folder = opendir("/proc/self/fd");
    if (folder == nullptr) return sockets;
    while (const dirent* entry = readdir(folder)) {
        char* end = nullptr;
        const long fd = std::strtol(entry->d_name, &end, 10);
        if (end == entry->d_name || *end != '\0' || fd == dirfd(folder)) continue;
        struct stat status {};
        if (fstat(static_cast<int>(fd), &status) == 0 && S_ISSOCK(status.st_mode)) {
            sockets.push_back({static_cast<int>(fd), static_cast<unsigned long>(status.st_ino),
                               isNetworkSocket(static_cast<int>(fd))});
        }
    }
    closedir(folder);
    return sockets;
}

void shutDownSocket(int descriptor) {
    shutdown(descriptor, SHUT_RDWR);
}

}  // namespace talvers
