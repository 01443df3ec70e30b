#pragma once
// The stored form of the settings file's "Password" values.
//
// This is obfuscation, not security: it keeps a password from being read over a shoulder or
// found by a text search, but anyone with this program (or this header) can reverse it.
// Protect the settings file with the file system's rights.
//
// Form: "enc1:" followed by the standard base64 (with '=' padding) of the password's UTF-8
// bytes, each XORed with the byte at the same position (cycling) of a fixed 16-byte key.
// A stored value without the "enc1:" prefix is the password in plain text, so a hand-written
// settings file works; a plain password that itself begins with "enc1:" must be stored
// encoded.
#include <string>
#include <string_view>

namespace talvers {

// The stored form of `password` ("enc1:..."); never contains ';', blanks or line breaks.
std::string encodePassword(std::string_view password);

// The password for a stored value: decoded when it has the "enc1:" prefix, else the value
// itself. Throws SettingsError (InvalidValue) when the text after the prefix is not base64.
std::string decodePassword(std::string_view stored);

}  // namespace talvers
