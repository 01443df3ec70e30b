#pragma once
// CommandOptions: the arguments of one talvers-report command, after the command's name.
// Every option takes one value ("--settings FILE"); the command names the options it knows,
// and anything else that starts with "--" is a UsageError, as are an option without its
// value and an option given twice. Other arguments are positional, kept in order; after a
// lone "--" every argument is positional (so a password may start with "--").
#include <initializer_list>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace talvers {

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class CommandOptions {
  public:
    CommandOptions(const std::vector<std::string>& args,
                   std::initializer_list<std::string_view> knownOptions);

    // The option's value, or nullopt when it was not given.
    std::optional<std::string> value(std::string_view option) const;
    const std::vector<std::string>& positional() const { return positional_; }
    // Throws UsageError unless there are exactly `count` positional arguments.
    void requirePositional(size_t count, std::string_view what) const;

  private:
    std::map<std::string, std::string, std::less<>> values_;
    std::vector<std::string> positional_;
};

}  // namespace talvers
