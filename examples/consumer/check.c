/* Compiles the generated prototype checks against the real declarations:
 * a function whose prototype differs from its table line fails the build. */
#include "intrinsics.h"

#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wunused-variable"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif

#include "intrinsics_chk.h"
