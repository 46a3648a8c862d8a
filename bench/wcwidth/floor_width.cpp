#include "floor_width.hpp"

// Kept in its own translation unit so the benchmark cannot inline it: the
// call is all that it costs.
int floor_width(std::uint32_t /*code_point*/) {
    return 0;
}
