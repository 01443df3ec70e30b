#include "shell/settings/password_codec.h"

#include <gtest/gtest.h>

#include <vector>

#include "shell/settings/settings_error.h"

namespace talvers {
namespace {

TEST(PasswordCodec, RoundTripsAnyText) {
    for (const std::string& password : std::vector<std::string>{
             "", "a", "ab", "abc", "abcd", "Segredo#2024", "pão ção €", std::string(200, 'x'),
             std::string("nul\0byte", 8), "  blanks ; and = signs  "}) {
        const std::string stored = encodePassword(password);
        EXPECT_TRUE(stored.starts_with("enc1:")) << stored;
        EXPECT_EQ(stored.find_first_of(" ;\t\r\n"), std::string::npos) << stored;
        EXPECT_EQ(decodePassword(stored), password);
    }
}

TEST(PasswordCodec, StoredFormIsNotThePlainText) {
    const std::string stored = encodePassword("talvers");
    EXPECT_EQ(stored.find("talvers"), std::string::npos);
    EXPECT_EQ(stored.find("dGFsdmVycw"), std::string::npos);  // not bare base64 either
    EXPECT_NE(encodePassword("talvert"), stored);
}

TEST(PasswordCodec, ValueWithoutPrefixIsPlainText) {
    EXPECT_EQ(decodePassword("hand-written"), "hand-written");
    EXPECT_EQ(decodePassword("ENC1:abcd"), "ENC1:abcd");
    EXPECT_EQ(decodePassword(""), "");
}

TEST(PasswordCodec, MalformedEncodedValueIsASettingsError) {
    EXPECT_THROW(decodePassword("enc1:abc"), SettingsError);   // not a multiple of 4
    EXPECT_THROW(decodePassword("enc1:ab!d"), SettingsError);  // not a base64 digit
    EXPECT_THROW(decodePassword("enc1:a=bc"), SettingsError);  // padding inside
    EXPECT_THROW(decodePassword("enc1:===="), SettingsError);
}

}  // namespace
}  // namespace talvers
