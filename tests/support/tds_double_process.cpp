#include "tests/support/tds_double_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace talvers::testing {
namespace {

constexpr int kPatienceMs = 10000;

// The first line `fd` gives within the patience, without its line end.
std::string firstLine(int fd) {
    std::string line;
    for (int waited = 0; waited < kPatienceMs;) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0) {
            waited += 100;
            continue;
        }
        char c;
        if (read(fd, &c, 1) != 1) break;
        if (c == '\n') return line;
        line += c;
    }
    throw std::runtime_error("tds-double printed no port (\"" + line + "\")");
}

}  // namespace

TdsDoubleProcess::TdsDoubleProcess(std::vector<std::string> arguments) {
    int input[2], output[2];
    if (pipe(input) != 0 || pipe(output) != 0) throw std::runtime_error("no pipe for tds-double");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, input[1]);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    std::vector<std::string> argv{tdsDoublePath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& a : argv) pointers.push_back(a.data());
    pointers.push_back(nullptr);
    const int rc = posix_spawn(&pid_, argv[0].c_str(), &actions, nullptr, pointers.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(input[0]);
    close(output[1]);
    stdin_ = input[1];
    try {
        if (rc != 0) throw std::runtime_error("cannot start " + argv[0]);
        const std::string line = firstLine(output[0]);
        if (line.rfind("port ", 0) != 0) throw std::runtime_error("tds-double said " + line);
        port_ = std::stoi(line.substr(5));
    } catch (...) {
        close(output[0]);
        this->~TdsDoubleProcess();
        throw;
    }
    close(output[0]);
}

TdsDoubleProcess::~TdsDoubleProcess() {
    if (stdin_ >= 0) close(stdin_);
    stdin_ = -1;
    if (pid_ > 0 && waitForExit() == -1) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

int TdsDoubleProcess::waitForExit() {
    if (pid_ <= 0) return -1;  // never waitpid(-1): it would reap another child
    for (int waited = 0; waited < kPatienceMs; waited += 20) {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return -1;
}

int TdsDoubleProcess::endWith(int signal) {
    if (pid_ <= 0) return -1;  // never kill(-1): it would signal every process
    kill(pid_, signal);
    return waitForExit();
}

int TdsDoubleProcess::endByClosingInput() {
    close(stdin_);
    stdin_ = -1;
    return waitForExit();
}

std::string tdsDoublePath() {
    return TALVERS_TDS_DOUBLE;
}

ConnectionSettings TdsDoubleProcess::settings(const std::string& database,
                                              const ConnectionDeadlines& deadlines) const {
    ConnectionSettings s;
    s.server = "127.0.0.1," + std::to_string(port_);
    s.database = database;
    s.userName = "talvers";
    s.password = "talvers";
    s.driver = "FreeTDS";
    s.deadlines = deadlines;
    return s;
}

std::vector<std::string> traceLines(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace talvers::testing
