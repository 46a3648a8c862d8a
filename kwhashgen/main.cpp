// kwhashgen: reads a keyword list on standard input and writes the C source
// of a perfect hash over those keywords to standard output.
#include "generator.hpp"

#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> command_line(argv, argv + argc);
    // The generator's state is large (256 records); keep it off the stack.
    auto generator = std::make_unique<kwhashgen::Generator>();
    return kwhashgen::run_generator(*generator, command_line, isatty(0) != 0,
                                    {stdin, stdout, stderr});
}
