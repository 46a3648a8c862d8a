// chkprotogen: reads a C source on standard input and writes the prototype
// check fragment for its MAKE_INTRINSIC lines to standard output.
#include "generator.hpp"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    return karvo::run_program(argc, argv, isatty(STDIN_FILENO) != 0, {stdin, stdout, stderr},
                              chkprotogen::run);
}
