#include "kwhashgen/emit.hpp"

#include <gtest/gtest.h>
#include <utility>

namespace kwhashgen {
namespace {

TEST(EmitEscapes, KeywordBytesBecomeAStringLiteralOfTheSameBytes) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"say\"hi\"", "say\\\"hi\\\""},
        {"back\\slash", "back\\\\slash"},
        {"?\?=", "?\\?="},
        {"?\??", "?\\?\\?"},
        {"a?b?", "a?b?"},
        {"tab\there", "tab\\011here"},
        {"cr\r", "cr\\015"},
        {std::string("\x01") + "7", "\\0017"}, // the octal escape cannot swallow the digit
        {"del\x7F", "del\\177"},
        {"\x1F", "\\037"},
        {"\xC3\xA9\xFF\x80", "\xC3\xA9\xFF\x80"},
        {"", ""},
    };
    for (const auto& [keyword, literal] : cases)
        EXPECT_EQ(c_string_body(keyword), literal) << keyword;
}

// The step from unsigned char to unsigned short (max hash 253 to 254) is
// shown whole by the golden cases max_hash_253 and max_hash_254.
TEST(EmitElementType, FollowsTheLargestHashValue) {
    const std::pair<std::uint32_t, const char*> cases[] = {
        {0, "unsigned char"},           {65533, "unsigned short"},      {65534, "unsigned long"},
        {0xFFFFFFFEu, "unsigned long"}, {0xFFFFFFFFu, "unsigned char"}, // max + 1 wraps to 0
    };
    for (const auto& [max_hash, type] : cases)
        EXPECT_STREQ(element_type_for(max_hash), type) << max_hash;
}

} // namespace
} // namespace kwhashgen
