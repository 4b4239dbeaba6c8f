#include "export/xls/XlsLargeBlock.h"

#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace kestrane::xls {

namespace {
constexpr size_t kHugePage = size_t(2) << 20;

// The 16 bytes in front of every block hold how it was made, so freeing knows: the length of
// the mapping that starts one huge page before the block, or 0 for a block from malloc.
struct Header {
    size_t mapped;
};
constexpr size_t kHeaderSize = 16;

Header* headerOf(void* data) {
    return reinterpret_cast<Header*>(static_cast<char*>(data) - kHeaderSize);
}
} // namespace

void* allocateLargeBlock(size_t bytes) {
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (bytes >= kHugePage / 2) {
        // Map one huge page more than needed, so an aligned start can be chosen and the header
        // kept in front of it; the unused ends are given back.
        const size_t body = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        const size_t length = body + 2 * kHugePage;
        void* raw =
            mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (raw == MAP_FAILED)
            throw std::bad_alloc();
        const auto base = reinterpret_cast<std::uintptr_t>(raw);
        const std::uintptr_t data = (base + kHugePage) / kHugePage * kHugePage + kHugePage;
        const std::uintptr_t start = data - kHugePage; // its last bytes hold the header
        if (start > base)
            munmap(raw, start - base);
        const std::uintptr_t end = data + body;
        if (base + length > end)
            munmap(reinterpret_cast<void*>(end), base + length - end);
        madvise(reinterpret_cast<void*>(data), body, MADV_HUGEPAGE); // advice only
        headerOf(reinterpret_cast<void*>(data))->mapped = end - start;
        return reinterpret_cast<void*>(data);
    }
#endif
    auto* p = static_cast<char*>(std::malloc(bytes + kHeaderSize));
    if (!p)
        throw std::bad_alloc();
    reinterpret_cast<Header*>(p)->mapped = 0;
    return p + kHeaderSize;
}

void freeLargeBlock(void* block) noexcept {
    if (!block)
        return;
    const size_t mapped = headerOf(block)->mapped;
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    if (mapped) {
        munmap(static_cast<char*>(block) - kHugePage, mapped);
        return;
    }
#endif
    std::free(static_cast<char*>(block) - kHeaderSize);
}

} // namespace kestrane::xls
