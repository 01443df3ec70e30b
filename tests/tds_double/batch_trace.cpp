#include "tests/tds_double/batch_trace.h"

#include <stdexcept>

namespace talvers {

BatchTrace::BatchTrace(const std::filesystem::path& file)
    : out_(file, std::ios::app | std::ios::binary) {
    if (!out_) throw std::runtime_error("cannot open the trace file " + file.string());
}

void BatchTrace::write(const std::string& batch) {
    std::string line;
    line.reserve(batch.size() + 1);
    for (const char c : batch) {
        if (c == '\n') {
            line += "\\n";
        } else if (c == '\r') {
            line += "\\r";
        } else if (c == '\\') {
            line += "\\\\";
        } else {
            line += c;
        }
    }
    line += '\n';
    std::lock_guard lock(mutex_);
    out_ << line;
    out_.flush();
}

}  // namespace talvers
