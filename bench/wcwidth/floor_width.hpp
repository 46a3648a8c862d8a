#pragma once

#include <cstdint>

// An out-of-line function with the lookup's signature that does nothing:
// the cost of the call alone, the floor for any width function.
int floor_width(std::uint32_t code_point);
