#include "corpora.hpp"

#include <cstdint>
#include <iterator>

namespace {

// splitmix64: small, fast, and the same numbers everywhere.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
        return z ^ (z >> 31);
    }
    // A number in [0, bound); the bias of the modulo is immaterial here.
    std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }
    bool percent(unsigned chance) { return below(100) < chance; }
    template <typename T, std::size_t N> const T& pick(const T (&items)[N]) {
        return items[below(N)];
    }

  private:
    std::uint64_t state_;
};

class CorpusWriter {
  public:
    explicit CorpusWriter(std::string name) { corpus_.name = std::move(name); }
    void add(const std::string& line) {
        corpus_.lines.push_back({corpus_.text.size(), line.size()});
        corpus_.text += line;
        corpus_.text += '\0';
        if (line.size() > corpus_.max_line_length) {
            corpus_.max_line_length = line.size();
        }
    }
    std::size_t size() const { return corpus_.text.size(); }
    Corpus take() { return std::move(corpus_); }

  private:
    Corpus corpus_;
};

const char* const English_Words[] = {
    "the",    "of",      "and",     "a",      "to",      "in",     "is",      "you",
    "that",   "it",      "he",      "was",    "for",     "on",     "are",     "as",
    "with",   "his",     "they",    "at",     "be",      "this",   "have",    "from",
    "or",     "one",     "had",     "by",     "word",    "but",    "not",     "what",
    "all",    "were",    "we",      "when",   "your",    "can",    "said",    "there",
    "use",    "an",      "each",    "which",  "she",     "do",     "how",     "their",
    "terminal", "column", "width",  "table",  "library", "string", "program", "output",
    "version", "release", "build",  "compiler", "window", "screen", "cursor", "line",
};
const char* const Latin1_Words[] = {
    "caf\xC3\xA9",          "na\xC3\xAFve",   "r\xC3\xA9sum\xC3\xA9", "Z\xC3\xBCrich",
    "fa\xC3\xA7" "ade",     "\xC3\xBC" "ber", "se\xC3\xB1or",         "jalape\xC3\xB1o",
    "co\xC3\xB6perate",     "\xC3\x85ngstr\xC3\xB6m", "d\xC3\xA9j\xC3\xA0", "cr\xC3\xA8me",
};
const char* const Cjk_Words[] = {
    "\xE6\x9D\xB1\xE4\xBA\xAC",             // 東京
    "\xE4\xB8\xAD\xE6\x96\x87",             // 中文
    "\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E", // 日本語
    "\xE6\xBC\xA2\xE5\xAD\x97",             // 漢字
    "\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4", // 한국어
    "\xE3\x82\xAB\xE3\x82\xBF\xE3\x82\xAB\xE3\x83\x8A", // カタカナ
};
const char* const Prose_Emoji[] = {
    "\xF0\x9F\x98\x80", // 😀
    "\xF0\x9F\x8E\x89", // 🎉
    "\xF0\x9F\x91\x8D", // 👍
    "\xE2\x9D\xA4\xEF\xB8\x8F", // ❤️
    "\xF0\x9F\x9A\x80", // 🚀
    "\xE2\x9C\x85",     // ✅
};
const char* const Punctuation[] = {",", ",", ".", ";", ":", "!", "?"};

// Common Han characters, kana and Hangul syllables, each 3 bytes.
const char* const Cjk_Characters[] = {
    "\xE7\x9A\x84", "\xE4\xB8\x80", "\xE6\x98\xAF", "\xE4\xB8\x8D", "\xE4\xBA\x86",
    "\xE4\xBA\xBA", "\xE6\x88\x91", "\xE5\x9C\xA8", "\xE6\x9C\x89", "\xE4\xBB\x96",
    "\xE8\xBF\x99", "\xE4\xB8\xBA", "\xE4\xB9\x8B", "\xE5\xA4\xA7", "\xE6\x9D\xA5",
    "\xE4\xBB\xA5", "\xE4\xB8\xAA", "\xE4\xB8\xAD", "\xE4\xB8\x8A", "\xE4\xBB\xAC",
    "\xE5\x88\xB0", "\xE8\xAF\xB4", "\xE5\x9B\xBD", "\xE5\x92\x8C", "\xE5\x9C\xB0",
    "\xE6\x96\x87", "\xE5\xAD\x97", "\xE5\xAE\xBD", "\xE5\xBA\xA6", "\xE8\xA1\xA8",
    "\xE3\x81\xAE", "\xE3\x81\xAB", "\xE3\x81\xAF", "\xE3\x82\x92", "\xE3\x81\x9F",
    "\xE3\x81\x8C", "\xE3\x81\xA7", "\xE3\x81\xA6", "\xE3\x81\xA8", "\xE3\x81\x97",
    "\xE3\x82\xA2", "\xE3\x83\xAB", "\xE3\x83\x88", "\xE3\x83\xB3", "\xE3\x82\xB9",
    "\xEC\x9D\x98", "\xEC\x9D\xB4", "\xEB\x8A\x94", "\xEC\x97\x90", "\xED\x95\x98",
};
const char* const Cjk_Punctuation[] = {
    "\xE3\x80\x81", "\xE3\x80\x82", "\xE3\x80\x8C", "\xE3\x80\x8D", // 、。「」
    "\xEF\xBC\x8C", "\xEF\xBC\x81", "\xEF\xBC\x9F",                 // ，！？
};
const char* const Ascii_Tokens[] = {"2024", "OK", "API", "UTF-8", "Linux", "v1.2", "42", "CPU"};

// The emoji sequences of the chat lines.
const char* const Chat_Emoji[] = {
    // family: man, woman, girl, boy
    "\xF0\x9F\x91\xA8\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7\xE2\x80\x8D\xF0\x9F\x91\xA6",
    "\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA6", // family: two women, boy
    "\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB",                     // woman technologist
    "\xF0\x9F\x8F\xB3\xEF\xB8\x8F\xE2\x80\x8D\xF0\x9F\x8C\x88",         // rainbow flag
    "\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD", // thumbs up, medium skin tone
    "\xF0\x9F\x91\x8B\xF0\x9F\x8F\xBB", // waving hand, light skin tone
    "\xF0\x9F\x99\x8F\xF0\x9F\x8F\xBF", // folded hands, dark skin tone
    "\xF0\x9F\x87\xAF\xF0\x9F\x87\xB5", // flag: Japan
    "\xF0\x9F\x87\xAB\xF0\x9F\x87\xB7", // flag: France
    "\xF0\x9F\x87\xA7\xF0\x9F\x87\xB7", // flag: Brazil
    "1\xEF\xB8\x8F\xE2\x83\xA3",        // keycap 1
    "#\xEF\xB8\x8F\xE2\x83\xA3",        // keycap #
    "*\xEF\xB8\x8F\xE2\x83\xA3",        // keycap *
    "\xE2\x9D\xA4\xEF\xB8\x8F",         // red heart, emoji presentation
    "\xE2\x98\xBA\xEF\xB8\x8F",         // smiling face, emoji presentation
    "\xE2\x9C\x8C\xEF\xB8\x8F",         // victory hand, emoji presentation
    "\xF0\x9F\x98\x82",                 // face with tears of joy
    "\xF0\x9F\x8E\x89",                 // party popper
};
const char* const Chat_Words[] = {
    "ok",   "lol",  "see you", "at 5", "nice", "thanks", "on my way", "brb",
    "yes",  "no",   "haha",    "wow",  "soon", "love it", "good night", "same",
};

} // namespace

std::size_t Corpus::bytes() const {
    return text.size() - lines.size();
}

double Corpus::ascii_share() const {
    std::size_t ascii = 0;
    for (const Line& line : lines) {
        for (std::size_t i = 0; i < line.length; ++i) {
            ascii += static_cast<unsigned char>(text[line.offset + i]) < 0x80 ? 1 : 0;
        }
    }
    return static_cast<double>(ascii) / static_cast<double>(bytes());
}

Corpus prose_corpus(std::size_t min_bytes) {
    Random random(0x7072'6F73'65ULL);
    CorpusWriter writer("prose");
    while (writer.size() < min_bytes) {
        const std::size_t words = 6 + random.below(14);
        std::string line;
        for (std::size_t w = 0; w < words; ++w) {
            if (w > 0) {
                line += ' ';
            }
            if (random.percent(4)) {
                line += random.pick(Latin1_Words);
            } else if (random.percent(2)) {
                line += random.pick(Cjk_Words);
            } else if (random.percent(1)) {
                line += random.pick(Prose_Emoji);
            } else {
                std::string word = random.pick(English_Words);
                if (w == 0) {
                    word[0] = static_cast<char>(word[0] - 'a' + 'A');
                }
                line += word;
            }
            if (w + 1 < words && random.percent(8)) {
                line += random.pick(Punctuation);
            }
        }
        line += '.';
        writer.add(line);
    }
    return writer.take();
}

Corpus cjk_corpus(std::size_t min_bytes) {
    Random random(0x636A'6BULL);
    CorpusWriter writer("cjk");
    while (writer.size() < min_bytes) {
        const std::size_t characters = 8 + random.below(32);
        std::string line;
        for (std::size_t c = 0; c < characters; ++c) {
            if (random.percent(5)) {
                line += ' ';
                line += random.pick(Ascii_Tokens);
                line += ' ';
            } else if (random.percent(8)) {
                line += random.pick(Cjk_Punctuation);
            } else {
                line += random.pick(Cjk_Characters);
            }
        }
        line += "\xE3\x80\x82"; // 。
        writer.add(line);
    }
    return writer.take();
}

Corpus chat_corpus(std::size_t min_bytes) {
    Random random(0x6368'6174ULL);
    CorpusWriter writer("chat");
    while (writer.size() < min_bytes) {
        const std::size_t parts = 2 + random.below(4);
        const std::size_t emoji_part = random.below(parts); // at least one per line
        std::string line;
        for (std::size_t p = 0; p < parts; ++p) {
            if (p > 0) {
                line += ' ';
            }
            if (p == emoji_part || random.percent(30)) {
                line += random.pick(Chat_Emoji);
                if (random.percent(25)) {
                    line += random.pick(Chat_Emoji);
                }
            } else {
                line += random.pick(Chat_Words);
            }
        }
        writer.add(line);
    }
    return writer.take();
}
