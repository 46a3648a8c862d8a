#pragma once

#include <cstddef>
#include <string>
#include <vector>

// The texts the string benchmarks measure, written by the program itself so
// that every run and every machine measures the same bytes: the same seed
// gives the same lines on any platform (the generator uses no standard
// distribution, whose results vary between C++ libraries).
struct Corpus {
    struct Line {
        std::size_t offset;
        std::size_t length; // without the NUL that follows every line
    };
    std::string name;
    std::string text; // the lines, each followed by a NUL (for mbstowcs)
    std::vector<Line> lines;
    std::size_t max_line_length = 0;

    const char* line_data(const Line& line) const { return text.data() + line.offset; }
    std::size_t bytes() const; // the lines' bytes, NULs left out
    double ascii_share() const;
};

// Mostly-ASCII prose with a few Latin-1 words, CJK words and emoji.
Corpus prose_corpus(std::size_t min_bytes);
// Chinese, Japanese and Korean text with CJK punctuation, some ASCII words
// and digits.
Corpus cjk_corpus(std::size_t min_bytes);
// Short chat lines, each with emoji sequences: families and other ZWJ
// sequences, skin tones, flags, keycaps, emoji presentation selectors.
Corpus chat_corpus(std::size_t min_bytes);
