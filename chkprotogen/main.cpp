// Entry point of chkprotogen: refuses arguments and terminal input, then runs
// the filter from standard input to standard output.
#include "chkprotogen.hpp"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    if (chkprotogen::must_refuse(argc, isatty(STDIN_FILENO) != 0)) {
        chkprotogen::write_usage(stderr, argc > 0 ? argv[0] : nullptr);
        return chkprotogen::exit_failure;
    }
    return chkprotogen::run(stdin, stdout, stderr);
}
