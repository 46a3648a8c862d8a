/* Compiles the prototype checks that chkprotogen writes for intrinsics.c
 * against the real declarations of the intrinsic functions. Each assignment
 * in the fragment stores a C function in a pointer of the prototype its table
 * line claims; build with -Werror=incompatible-pointer-types (clang also takes
 * -Werror=incompatible-function-pointer-types) so that a mismatch fails.
 * Written with --assert-prototypes, the fragment asserts each prototype
 * instead (gcc, clang), which fails whatever the warning flags. */
#include "intrinsics.h"

/* The fragment declares a check variable for every supported signature, most
 * of which one table leaves unused, and a function that is never called. */
#if defined(__GNUC__)
#pragma GCC diagnostic ignored "-Wunused-variable"
#pragma GCC diagnostic ignored "-Wunused-function"
#endif

#include "intrinsics_chk.h"
