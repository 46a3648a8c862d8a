#include "keyword_lists.hpp"

#include <random>

namespace kwhashgen::lists {

std::string hostile_list(unsigned early, unsigned later, unsigned max_length, std::uint32_t seed) {
    std::mt19937 random(seed);
    std::string list;
    const unsigned first_length = max_length;
    for (unsigned n = 0; n < early; ++n) {
        list.append(first_length - n, 'a');
        list.append(" ").append(std::to_string(n)).append("\n");
    }
    const unsigned pair_length = first_length - early;
    list.append(pair_length - 2, 'a').append("bc 900\n");
    list.append(pair_length - 2, 'a').append("cb 901\n");
    std::uniform_int_distribution<int> high_byte(0x80, 0xFF);
    for (unsigned n = 0; n < later; ++n) {
        std::string keyword;
        for (unsigned k = 0; k < first_length; ++k)
            keyword += static_cast<char>(high_byte(random));
        list.append(keyword).append(" ").append(std::to_string(1000 + n)).append("\n");
    }
    return list;
}

std::string random_list(unsigned count, unsigned max_length, unsigned alphabet,
                        std::uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<unsigned> length(1, max_length);
    std::uniform_int_distribution<unsigned> letter(0, alphabet - 1);
    std::string list;
    for (unsigned n = 0; n < count; ++n) {
        const unsigned bytes = length(random);
        for (unsigned k = 0; k < bytes; ++k)
            list += static_cast<char>('a' + letter(random));
        list.append(" ").append(std::to_string(n)).append("\n");
    }
    return list;
}

} // namespace kwhashgen::lists
