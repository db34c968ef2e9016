#pragma once
// Storage that starts on a cache line, so that a row laid out in whole
// vector widths loads without splitting lines.
#include <cstddef>
#include <memory>
#include <new>
#include <vector>

namespace kestrel {

inline constexpr std::size_t kCacheLine = 64;

template <typename T> struct CacheLineAllocator {
    using value_type = T;
    CacheLineAllocator() = default;
    template <typename U> CacheLineAllocator(const CacheLineAllocator<U>&) {}

    T* allocate(std::size_t n) {
        return static_cast<T*>(::operator new (n * sizeof(T), std::align_val_t{kCacheLine}));
    }
    void deallocate(T* p, std::size_t) { ::operator delete (p, std::align_val_t{kCacheLine}); }

    template <typename U> bool operator==(const CacheLineAllocator<U>&) const { return true; }
};

template <typename T> using CacheLineVector = std::vector<T, CacheLineAllocator<T>>;

template <typename T> struct CacheLineDelete {
    void operator()(T* p) const { CacheLineAllocator<T>{}.deallocate(p, 0); }
};
template <typename T> using CacheLineBuffer = std::unique_ptr<T[], CacheLineDelete<T>>;

// n values left unset, for buffers that are always written before they are read.
template <typename T> CacheLineBuffer<T> MakeCacheLineBuffer(std::size_t n) {
    return CacheLineBuffer<T>(CacheLineAllocator<T>{}.allocate(n));
}

} // namespace kestrel
