// chkprotogen: reads a C source on standard input and writes the prototype
// check fragment for its MAKE_INTRINSIC lines to standard output.
#include "generator.hpp"

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    return chkprotogen::run(args, isatty(STDIN_FILENO) != 0, {stdin, stdout, stderr});
}
