// Width classes as the library reports them, recovered through the public
// lookup alone: flags 0 tells zero-width, wide and four-column apart, and
// flags 2 separates ambiguous (now two columns) from narrow.
#pragma once

#include "wcwidthtab.h"

#include <cstdint>
#include <vector>

namespace wcwidth_test {

constexpr std::uint32_t Code_Point_Count = KVWC_CODE_POINT_LIMIT;

inline std::vector<std::uint8_t> classes_from_lookup() {
    std::vector<std::uint8_t> classes(Code_Point_Count);
    const std::int32_t saved = KVwchar_set_wcwidth_flags(0);
    for (std::uint32_t cp = 0; cp < Code_Point_Count; ++cp) {
        classes[cp] = static_cast<std::uint8_t>(KVwchar_wcwidth(cp));
    }
    KVwchar_set_wcwidth_flags(KVWC_FLAG_AMBIGUOUS_WIDE);
    for (std::uint32_t cp = 0; cp < Code_Point_Count; ++cp) {
        if (classes[cp] == 1 && KVwchar_wcwidth(cp) == 2) {
            classes[cp] = KVWC_CLASS_AMBIGUOUS;
        }
    }
    KVwchar_set_wcwidth_flags(saved);
    return classes;
}

// Column count the specified flags semantics give for a class.
inline int expected_columns(unsigned width_class, std::int32_t flags) {
    if (width_class == KVWC_CLASS_NARROW || width_class == KVWC_CLASS_FOUR_COLUMN) {
        return static_cast<int>(width_class);
    }
    if ((flags & KVWC_FLAG_SINGLE_COLUMN) != 0) {
        return 1;
    }
    if (width_class == KVWC_CLASS_AMBIGUOUS) {
        return (flags & KVWC_FLAG_AMBIGUOUS_WIDE) != 0 ? 2 : 1;
    }
    return static_cast<int>(width_class);
}

} // namespace wcwidth_test
