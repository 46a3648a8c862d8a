#include "support.hpp"

#include "chkprotogen.hpp"
#include "streams.hpp"

namespace chkprotogen::testing {

ProcessResult run_filter(const std::string& input) {
    karvo::testing::InputStream in(input);
    karvo::testing::OutputStream out;
    karvo::testing::OutputStream err;
    ProcessResult result;
    result.status = run(in.get(), out.get(), err.get());
    result.out = out.text();
    result.err = err.text();
    return result;
}

} // namespace chkprotogen::testing
