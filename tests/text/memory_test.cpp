// Memory: a value that cannot get its memory ends the program with a
// report (nothing half-built escapes), and appending in a loop allocates
// a logarithmic number of times, i.e. stays linear.
//
// This executable replaces the global allocator so a test can count
// allocations and make the next one fail.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <utility>

#include "support/text_helpers.h"
#include "text/fatal.h"
#include "text/operations.h"

namespace {

std::atomic<long> gAllocations{0};
std::atomic<bool> gFailAllocations{false};

void* Allocate(std::size_t size) {
    if (gFailAllocations.load()) {
        throw std::bad_alloc();
    }
    ++gAllocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) {
        return p;
    }
    throw std::bad_alloc();
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace quorvel {
namespace {

long AllocationsDuring(void (*work)()) {
    const long before = gAllocations.load();
    work();
    return gAllocations.load() - before;
}

TEST(Memory, AppendingInALoopAllocatesLogarithmically) {
    const long textAllocations = AllocationsDuring([] {
        Text text;
        const Text piece = "x";
        for (int i = 0; i < 100000; ++i) {
            text.Append(piece);
        }
        ASSERT_EQ(TextLength(text), 100000);
    });
    // 1.5x growth from 1 byte reaches 100000 in about 30 steps; quadratic
    // copying would need one allocation per append.
    EXPECT_LT(textAllocations, 40);

    const long bytesAllocations = AllocationsDuring([] {
        Bytes body;
        const Bytes block = BlankBytes(1024);
        for (int i = 0; i < 1000; ++i) {
            body = ConcatBytes(std::move(body), BytesLeft(block, 1000));
        }
        ASSERT_EQ(BytesLength(body), 1000000);
    });
    EXPECT_LT(bytesAllocations, 2000 + 40) << "one per BytesLeft piece plus the growth";
}

using MemoryDeathTest = ::testing::Test;

TEST(MemoryDeathTest, RunningOutWhileBuildingIsFatal) {
    const Text source = "some text that needs a copy";
    const auto outOfMemory = [](auto&& build) {
        gFailAllocations = true;
        build();
        gFailAllocations = false;
        std::fputs("a value was built without memory\n", stderr);
    };
    EXPECT_EXIT(outOfMemory([&] { Text copy = source; }), ::testing::ExitedWithCode(kFatalExitCode),
                "fatal error: out of memory");
    EXPECT_EXIT(outOfMemory([] { (void)BlankBytes(1 << 20); }),
                ::testing::ExitedWithCode(kFatalExitCode), "out of memory");
    EXPECT_EXIT(outOfMemory([&] { (void)SplitText("a,b,c"); }),
                ::testing::ExitedWithCode(kFatalExitCode), "out of memory");
    EXPECT_EXIT(outOfMemory([&] { (void)ToLower(source); }),
                ::testing::ExitedWithCode(kFatalExitCode), "out of memory");
}

}  // namespace
}  // namespace quorvel
