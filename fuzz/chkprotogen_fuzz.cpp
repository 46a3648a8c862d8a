// Runs the prototype check generator in-process on arbitrary bytes and checks
// what every run must guarantee: status 0, the full header first and the
// footer last, at most one well-formed assignment line per chunk read, only
// the four documented messages with rising line numbers, and exactly the
// output of a plain fgets() reading of the same bytes. With
// --assert-prototypes, the same messages and, for each assignment line, one
// assertion block naming a table line that does not go back.
#include "chkprotogen/emit.hpp"
#include "chkprotogen_in_process.hpp"
#include "fgets_reading.hpp"
#include "fuzz_support.hpp"
#include "streams.hpp"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using fuzz_support::check;
using karvo::testing::InputStream;
using karvo::testing::OutputStream;

bool is_assignment(std::string_view line) {
    if (line.size() < 11 || line.substr(0, 2) != "  " || line.substr(3, 2) != "_F" ||
        std::string_view("VISD").find(line[2]) == std::string_view::npos ||
        line.substr(line.size() - 2) != ";\n")
        return false;
    const auto key = line.substr(5, line.find(" = ") - 5);
    return line.find(" = ") != std::string_view::npos && !key.empty() &&
           std::string_view("0IS").find(key[0]) != std::string_view::npos;
}

// The line number a message names, or 0 if the line is no known message.
unsigned message_line(std::string_view line) {
    static constexpr std::pair<std::string_view, std::string_view> forms[] = {
        {"Warning: line ", " is old-fashioned\n"},
        {"Warning: Unable to handle MAKE_INTRINSIC form on line ", "\n"},
        {"return type on line ", " is not supported\n"},
    };
    for (const auto& [prefix, suffix] : forms) {
        if (line.size() <= prefix.size() + suffix.size() || !line.starts_with(prefix) ||
            !line.ends_with(suffix))
            continue;
        const auto digits = line.substr(prefix.size(), line.size() - prefix.size() - suffix.size());
        unsigned number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        if (error == std::errc() && end == digits.data() + digits.size() && digits[0] != '0')
            return number;
    }
    return 0;
}

// Checks the fragment written with --assert-prototypes=t.c against the
// assignment lines of the plain one: each in its block, in the same order.
void check_assertions(std::string_view asserted, std::string_view head,
                      const std::vector<std::string_view>& assignments, std::size_t lines) {
    constexpr std::string_view footer = "\n}\n";
    check(asserted.starts_with(head) && asserted.ends_with(footer), "asserted: header and footer");
    std::string_view body =
        asserted.substr(head.size(), asserted.size() - head.size() - footer.size());
    const auto next_line = [&body]() {
        const auto end = body.find('\n');
        check(end != std::string_view::npos, "asserted: lines end with a newline");
        const std::string_view line = body.substr(0, end + 1);
        body.remove_prefix(end + 1);
        return line;
    };
    const auto line_number = [](std::string_view directive) {
        constexpr std::string_view prefix = "#line ";
        constexpr std::string_view suffix = " \"t.c\"\n";
        check(directive.starts_with(prefix) && directive.ends_with(suffix), "asserted: #line");
        const auto digits =
            directive.substr(prefix.size(), directive.size() - prefix.size() - suffix.size());
        unsigned number = 0;
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), number);
        check(error == std::errc() && end == digits.data() + digits.size(), "asserted: number");
        return number;
    };
    unsigned previous = 1;
    for (const std::string_view assignment : assignments) {
        check(next_line() == "#if defined(__GNUC__) || defined(__clang__)\n", "asserted: #if");
        const unsigned line = line_number(next_line());
        check(line >= previous && line <= lines, "asserted: table lines do not go back");
        previous = line;
        const std::string_view assertion = next_line();
        check(assertion.starts_with("  { typedef char chkproto_wrong_prototype_") &&
                  assertion.ends_with("); }\n"),
              "asserted: assertion line");
        check(next_line() == "#else\n", "asserted: #else");
        check(line_number(next_line()) == line, "asserted: same line for the fallback");
        check(next_line() == assignment, "asserted: the plain assignment as fallback");
        check(next_line() == "#endif\n", "asserted: #endif");
    }
    check(body.empty(), "asserted: one block per assignment");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    OutputStream header;
    chkprotogen::write_header(header.get());
    const std::string head = header.text();
    const std::string footer = "\n}\n";

    const std::string input(reinterpret_cast<const char*>(data), size);
    const auto run = karvo::testing::run_chkprotogen(input);
    check(run.status == 0, "status 0");
    const std::string& fragment = run.out;
    const std::string& messages = run.err;

    // The same bytes read with fgets(), the model of the chunking.
    InputStream again(input);
    OutputStream fgets_out;
    OutputStream fgets_err;
    const std::size_t chunks =
        chkprotogen::testing::run_with_fgets(again.get(), fgets_out.get(), fgets_err.get());
    check(fgets_out.text() == fragment, "same fragment as fgets reading");
    check(fgets_err.text() == messages, "same messages as fgets reading");

    check(fragment.size() >= head.size() + footer.size(), "header and footer present");
    check(fragment.compare(0, head.size(), head) == 0, "output starts with the header");
    check(fragment.compare(fragment.size() - footer.size(), footer.size(), footer) == 0,
          "output ends with the footer");

    const std::string_view body(fragment.data() + head.size(),
                                fragment.size() - head.size() - footer.size());
    std::vector<std::string_view> assignments;
    for (std::size_t start = 0; start < body.size();) {
        const auto end = body.find('\n', start);
        check(end != std::string_view::npos, "assignment lines end with a newline");
        assignments.push_back(body.substr(start, end + 1 - start));
        check(is_assignment(assignments.back()), "assignment line well formed");
        start = end + 1;
    }
    check(assignments.size() <= chunks, "at most one assignment line per chunk");

    const auto asserted =
        karvo::testing::run_chkprotogen(input, {"--assert-prototypes=t.c", "--allow-empty"});
    check(asserted.status == 0, "asserted: status 0");
    check(asserted.err == messages, "asserted: the same messages");
    const auto table_lines =
        static_cast<std::size_t>(std::count(input.begin(), input.end(), '\n')) + 1;
    check_assertions(asserted.out, head, assignments, table_lines);

    unsigned previous = 0;
    for (std::size_t start = 0; start < messages.size();) {
        const auto end = messages.find('\n', start);
        check(end != std::string::npos, "messages end with a newline");
        const unsigned line =
            message_line(std::string_view(messages).substr(start, end + 1 - start));
        check(line > previous && line <= chunks, "messages name rising, existing lines");
        previous = line;
        start = end + 1;
    }
    return 0;
}
