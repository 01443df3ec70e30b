#include "shell/settings/password_codec.h"

#include <algorithm>
#include <cstdint>

#include "shell/settings/settings_error.h"

namespace talvers {
namespace {

constexpr std::string_view kPrefix = "enc1:";
constexpr std::string_view kKey = "Qr7!kE2#vT9@mZ4$";
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string xorWithKey(std::string_view bytes) {
    std::string out(bytes);
    for (size_t i = 0; i < out.size(); ++i)
        out[i] = static_cast<char>(out[i] ^ kKey[i % kKey.size()]);
    return out;
}

std::string base64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    for (size_t i = 0; i < bytes.size(); i += 3) {
        const size_t n = std::min<size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (size_t k = 0; k < 3; ++k) {
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (size_t k = 0; k < 4; ++k) {
            out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 0x3F] : '=';
        }
    }
    return out;
}

[[noreturn]] void throwNotEncoded() {
    throw SettingsError(SettingsErrorNumber::InvalidValue,
                        "O valor de \"Password\" começa por \"enc1:\" mas não é uma palavra-passe "
                        "codificada válida.");
}

std::string unbase64(std::string_view text) {
    if (text.size() % 4 != 0) throwNotEncoded();
    const size_t padding = text.ends_with("==") ? 2 : text.ends_with('=') ? 1 : 0;
    std::string out;
    std::uint32_t group = 0;
    for (size_t i = 0; i < text.size() - padding; ++i) {
        const size_t digit = kAlphabet.find(text[i]);
        if (digit == std::string_view::npos) throwNotEncoded();
        group = (group << 6) | static_cast<std::uint32_t>(digit);
        if (i % 4 == 3) {
            for (int shift = 16; shift >= 0; shift -= 8)
                out += static_cast<char>((group >> shift) & 0xFF);
            group = 0;
        }
    }
    // The last, padded group: 2 digits carry one byte, 3 digits two.
    if (padding == 2) out += static_cast<char>((group >> 4) & 0xFF);
    if (padding == 1) {
        out += static_cast<char>((group >> 10) & 0xFF);
        out += static_cast<char>((group >> 2) & 0xFF);
    }
    return out;
}

}  // namespace

std::string encodePassword(std::string_view password) {
    return std::string(kPrefix) + base64(xorWithKey(password));
}

std::string decodePassword(std::string_view stored) {
    if (!stored.starts_with(kPrefix)) return std::string(stored);
    return xorWithKey(unbase64(stored.substr(kPrefix.size())));
}

}  // namespace talvers
