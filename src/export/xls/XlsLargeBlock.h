#pragma once
// Memory for the model's large blocks (range chunks, text blocks). Blocks of at least 1 MiB
// are placed on 2 MiB boundaries and offered to the kernel for huge pages: filling a sheet of a
// million cells then takes a few hundred page faults instead of tens of thousands.
#include <cstddef>
#include <memory>

namespace kestrane::xls {

void* allocateLargeBlock(size_t bytes);
void freeLargeBlock(void* block) noexcept;

struct LargeBlockDeleter {
    void operator()(void* block) const noexcept { freeLargeBlock(block); }
};

// An uninitialised block of `count` elements of T.
template <typename T> std::unique_ptr<T[], LargeBlockDeleter> makeLargeBlock(size_t count) {
    return std::unique_ptr<T[], LargeBlockDeleter>(
        static_cast<T*>(allocateLargeBlock(count * sizeof(T))));
}

} // namespace kestrane::xls
