// kwhashgen: reads a keyword list on standard input and writes the C source
// of a perfect hash over those keywords to standard output.
#include "generator.hpp"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    return karvo::run_program(argc, argv, isatty(STDIN_FILENO) != 0, {stdin, stdout, stderr},
                              kwhashgen::run);
}
