#include "tests/tds_double/double_options.h"

#include <array>
#include <stdexcept>
#include <string_view>

#include "shell/platform/utf8_path.h"

namespace talvers {
namespace {

struct OptionText {
    std::string_view name;
    std::string_view argument;  // "" for a switch
    std::string_view help;
};

constexpr std::array kOptions{
    OptionText{"--catalog", "NAME=FILE",
               "a database and its SQLite file (repeatable; the first is the login's default)"},
    OptionText{"--port", "N", "the port on 127.0.0.1; 0 (default) picks a free one"},
    OptionText{"--user", "U", "the login's user name (default talvers)"},
    OptionText{"--password", "P", "the login's password (default talvers)"},
    OptionText{"--level", "N",
               "the databases' compatibility level (default 150); below 130 OPENJSON is "
               "refused with error 208"},
    OptionText{"--server-version", "N",
               "the major version LOGINACK reports (default 15); below 13 (SQL Server 2014) "
               "the JSON functions are unknown, error 195"},
    OptionText{"--row-delay-ms", "N",
               "wait N ms before each row but the first, and send each row as it comes"},
    OptionText{"--fail-after-rows", "N", "end every result after N rows with error 8115"},
    OptionText{"--close-after-rows", "N", "close the connection after N rows of a result"},
    OptionText{"--packet-size", "N", "the packet size to use (512-32767; default: the client's)"},
    OptionText{"--text-collation-utf8", "",
               "send varchar and text columns in a UTF-8 collation instead of Windows-1252"},
    OptionText{"--trace", "FILE", "append each batch received to FILE, one per line"},
    OptionText{"--help", "", "print this text"},
};

long long number(std::string_view option, const std::string& value, long long least,
                 long long most) {
    std::size_t used = 0;
    long long n = 0;
    try {
        n = std::stoll(value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != value.size() || value.empty() || n < least || n > most) {
        throw std::invalid_argument(std::string(option) + ": \"" + value +
                                    "\" is not a number from " + std::to_string(least) + " to " +
                                    std::to_string(most));
    }
    return n;
}

}  // namespace

DoubleOptions parseDoubleOptions(const std::vector<std::string>& args) {
    DoubleOptions o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t eq = name.find('=');
            eq != std::string::npos && name.rfind("--", 0) == 0) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        const OptionText* option = nullptr;
        for (const OptionText& known : kOptions) {
            if (known.name == name) option = &known;
        }
        if (!option) throw std::invalid_argument("unknown option " + args[i]);
        std::string value;
        if (!option->argument.empty()) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                throw std::invalid_argument(name + " needs " + std::string(option->argument));
            }
        } else if (inlineValue) {
            throw std::invalid_argument(name + " takes no value");
        }
        if (name == "--catalog") {
            const std::size_t eq = value.find('=');
            if (eq == 0 || eq == std::string::npos || eq + 1 == value.size())
                throw std::invalid_argument("--catalog: \"" + value + "\" is not NAME=FILE");
            o.catalogs.emplace_back(value.substr(0, eq), pathFromUtf8(value.substr(eq + 1)));
        } else if (name == "--port") {
            o.port = static_cast<int>(number(name, value, 0, 65535));
        } else if (name == "--user") {
            o.user = value;
        } else if (name == "--password") {
            o.password = value;
        } else if (name == "--level") {
            o.level = static_cast<int>(number(name, value, 80, 170));
        } else if (name == "--server-version") {
            o.serverVersion = static_cast<int>(number(name, value, 9, 16));
        } else if (name == "--row-delay-ms") {
            o.rowDelayMs = static_cast<int>(number(name, value, 0, 600000));
        } else if (name == "--fail-after-rows") {
            o.failAfterRows = number(name, value, 0, INT64_MAX);
        } else if (name == "--close-after-rows") {
            o.closeAfterRows = number(name, value, 0, INT64_MAX);
        } else if (name == "--packet-size") {
            o.packetSize = static_cast<int>(number(name, value, 512, 32767));
        } else if (name == "--text-collation-utf8") {
            o.textCollationUtf8 = true;
        } else if (name == "--trace") {
            o.trace = pathFromUtf8(value);
        } else {
            o.help = true;
        }
    }
    if (!o.help && o.catalogs.empty()) throw std::invalid_argument("no --catalog given");
    return o;
}

std::string doubleHelp() {
    std::string text =
        "Usage: tds-double --catalog NAME=FILE [--catalog NAME=FILE]... [OPTION]...\n"
        "\n"
        "A SQL Server stand-in for tests: speaks TDS 7.4 on 127.0.0.1 (no encryption), logs in\n"
        "the one user it is given, and answers each SQL batch by running it on the SQLite file\n"
        "of the database in use through Talvers' own SQLite backend (the T-SQL rewrite), each\n"
        "column typed as the ERP's schema declares it in SQL Server terms. The first line it\n"
        "prints is \"port N\". One connection per thread. It ends on SIGTERM, SIGINT or when its\n"
        "standard input reaches its end (give it a pipe that its parent holds open).\n"
        "\n";
    for (const OptionText& o : kOptions) {
        std::string head = "  " + std::string(o.name);
        if (!o.argument.empty()) head += " " + std::string(o.argument);
        head.resize(std::max<std::size_t>(head.size() + 1, 30), ' ');
        text += head + std::string(o.help) + "\n";
    }
    return text;
}

}  // namespace talvers
