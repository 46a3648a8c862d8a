#include "failing_allocator.hpp"

#include "streams.hpp"

#include <atomic>
#include <cstdlib>
#include <new>

namespace karvo::testing {
namespace {

std::atomic<bool> armed{false};
std::atomic<std::size_t> count{0};
std::atomic<std::size_t> failing_from{0};

void* allocate(std::size_t size) {
    if (armed.load()) {
        const std::size_t number = ++count;
        const std::size_t limit = failing_from.load();
        if (limit != 0 && number >= limit)
            throw std::bad_alloc();
    }
    if (void* block = std::malloc(size == 0 ? 1 : size))
        return block;
    throw std::bad_alloc();
}

} // namespace

void arm_allocation_failure(std::size_t fail_at) {
    count = 0;
    failing_from = fail_at;
    armed = true;
}

std::size_t disarm_allocation_failure() {
    armed = false;
    return count.load();
}

AllocatingRun run_program_failing_at(std::size_t fail_at, std::vector<std::string> args,
                                     const std::string& input, karvo::RunFunction run) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    InputStream in(input);
    OutputStream out;
    OutputStream err;
    arm_allocation_failure(fail_at);
    const int status = karvo::run_program(static_cast<int>(argv.size()), argv.data(), false,
                                          {in.get(), out.get(), err.get()}, run);
    AllocatingRun result;
    result.allocations = disarm_allocation_failure();
    result.result = {status, out.text(), err.text()};
    return result;
}

} // namespace karvo::testing

// Replaced in pairs: a sanitizer's own operator delete would take a block
// from malloc() for a mismatch.
void* operator new(std::size_t size) {
    return karvo::testing::allocate(size);
}

void* operator new[](std::size_t size) {
    return karvo::testing::allocate(size);
}

// A failure here is a null pointer, which callers such as std::stable_sort
// (its temporary buffer) take in their stride.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return karvo::testing::allocate(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept {
    return operator new(size, nothrow);
}

void operator delete(void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

void operator delete[](void* block, const std::nothrow_t&) noexcept {
    std::free(block);
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete[](void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

void operator delete[](void* block, std::size_t) noexcept {
    std::free(block);
}
