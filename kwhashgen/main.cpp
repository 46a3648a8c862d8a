// kwhashgen: reads a keyword list on standard input and writes the C source
// of a perfect hash over those keywords to standard output.
#include "generator.hpp"

#include <cstdio>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv, argv + argc);
    return kwhashgen::run(args, isatty(STDIN_FILENO) != 0, {stdin, stdout, stderr});
}
