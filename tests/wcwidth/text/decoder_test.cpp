// The text library's own UTF-8 decoder against KVwchar_utf8_decode: every
// lead byte, followed by bytes at the edges of each continuation range, at
// every length up to five. Well-formed sequences take the decoder's quick
// path and the rest fall back; either way the length, the code point and
// its property byte must be KVwchar_utf8_decode's. The decoder is internal
// to the library, so this test compiles the library's source itself (and
// does not link the library).
#include "clusters.cpp"

#include <gtest/gtest.h>

namespace {

TEST(Decoder, AgreesWithKVwcharUtf8DecodeAtEveryRangeEdge) {
    const unsigned char edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0,
                                   0xC1, 0xC2, 0xDF, 0xE0, 0xED, 0xEF, 0xF0, 0xF4, 0xF5, 0xFF};
    for (unsigned lead = 0; lead < 256; ++lead) {
        for (const unsigned char second : edges) {
            for (const unsigned char third : edges) {
                for (const unsigned char fourth : edges) {
                    const unsigned char bytes[] = {static_cast<unsigned char>(lead), second, third,
                                                   fourth, 0x41};
                    for (std::size_t len = 1; len <= sizeof bytes; ++len) {
                        std::uint32_t expected = 0;
                        const std::size_t size = KVwchar_utf8_decode(
                            reinterpret_cast<const char*>(bytes), len, &expected);
                        const karvo_text::CodePoint got = karvo_text::read_code_point(bytes, len);
                        ASSERT_EQ(got.size, size) << std::hex << lead << ' ' << +second << ' '
                                                  << +third << ' ' << +fourth << " len " << len;
                        ASSERT_EQ(got.value, expected) << std::hex << lead << ' ' << +second;
                        ASSERT_EQ(got.props, karvo_text::property(expected));
                    }
                }
            }
        }
    }
}

} // namespace
