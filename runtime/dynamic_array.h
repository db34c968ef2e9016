#pragma once
// Arrays that do not exist until dimensioned, with inclusive upper bounds
// from 0; dimensioning always starts from zeros. at() checks and throws the
// index failure; operator() is for hot loops that checked sizes up front.
#include "cache_line_allocator.h"
#include "failure.h"

#include <algorithm>
#include <cassert>
#include <functional>

namespace kestrel {

template <typename T> class Array1 {
  public:
    // The name says, in a failure's detail, which array an index missed.
    explicit Array1(const char* name = "array") : name_(name) {}

    bool exists() const { return exists_; }
    int upper() const { return upper_; }

    // Elements 0..upper, all zero; a negative bound cannot be dimensioned.
    void redim(int upper) {
        if (upper < 0) ThrowOutOfRange("dimensioned to " + std::to_string(upper));
        data_.assign(static_cast<std::size_t>(upper) + 1, T{});
        upper_ = upper;
        exists_ = true;
    }
    void erase() {
        data_.clear();
        exists_ = false;
        upper_ = -1;
    }

    // The same elements in the same extent (whatever the arrays are called).
    bool operator==(const Array1& other) const {
        return exists_ == other.exists_ && upper_ == other.upper_ && data_ == other.data_;
    }

    bool inRange(int i) const { return exists_ && i >= 0 && i <= upper_; }
    T& at(int i) {
        if (!inRange(i)) ThrowIndexOutOfRange(name_, i, upper_);
        return data_[static_cast<std::size_t>(i)];
    }
    const T& at(int i) const {
        if (!inRange(i)) ThrowIndexOutOfRange(name_, i, upper_);
        return data_[static_cast<std::size_t>(i)];
    }
    T& operator()(int i) {
        assert(inRange(i));
        return data_[static_cast<std::size_t>(i)];
    }
    const T& operator()(int i) const {
        assert(inRange(i));
        return data_[static_cast<std::size_t>(i)];
    }
    T* data() { return data_.data(); }
    const T* data() const { return data_.data(); }

  private:
    const char* name_;
    CacheLineVector<T> data_;
    int upper_ = -1;
    bool exists_ = false;
};

// (i, j) with i fastest in memory: every solver loop runs i innermost. Each
// row starts on a whole vector width (32 bytes), so the solver's groups of
// points can be loaded whole; the padding after element upper1 stays zero.
template <typename T> class Array2 {
    static constexpr std::size_t kRowBytes = 32;
    static_assert(kRowBytes % sizeof(T) == 0);

  public:
    explicit Array2(const char* name = "array") : name_(name) {}

    bool exists() const { return exists_; }
    int upper1() const { return upper1_; }
    int upper2() const { return upper2_; }
    // Elements from the start of one row to the next.
    int stride() const { return stride_; }

    void redim(int upper1, int upper2) { redim(upper1, upper2, {}); }
    // As redim, and as a copy of `other`, with the storage filled a part at a
    // time and `between` run after each: the first touch of a large array's
    // memory takes a noticeable part of a second.
    void redim(int upper1, int upper2, const std::function<void()>& between) {
        refuseNegative(upper1, upper2);
        fillInParts(strideFor(upper1) * (static_cast<std::size_t>(upper2) + 1), nullptr, between);
        setExtents(upper1, upper2);
    }
    void copy(const Array2& other, const std::function<void()>& between) {
        fillInParts(other.data_.size(), other.data_.data(), between);
        stride_ = other.stride_;
        upper1_ = other.upper1_;
        upper2_ = other.upper2_;
        exists_ = other.exists_;
    }
    void erase() {
        data_.clear();
        exists_ = false;
        upper1_ = upper2_ = -1;
        stride_ = 0;
    }

    bool inRange(int i, int j) const {
        return exists_ && i >= 0 && i <= upper1_ && j >= 0 && j <= upper2_;
    }
    T& at(int i, int j) {
        if (!inRange(i, j)) ThrowIndexOutOfRange(name_, i, j, upper1_, upper2_);
        return data_[index(i, j)];
    }
    const T& at(int i, int j) const {
        if (!inRange(i, j)) ThrowIndexOutOfRange(name_, i, j, upper1_, upper2_);
        return data_[index(i, j)];
    }
    T& operator()(int i, int j) {
        assert(inRange(i, j));
        return data_[index(i, j)];
    }
    const T& operator()(int i, int j) const {
        assert(inRange(i, j));
        return data_[index(i, j)];
    }
    // Every element in storage order, padding included; size() of them (0
    // before dimensioning).
    T* data() { return data_.data(); }
    const T* data() const { return data_.data(); }
    std::size_t size() const { return data_.size(); }
    // Start of column-major row j (the elements (0..upper1, j)).
    T* row(int j) { return data_.data() + index(0, j); }
    const T* row(int j) const { return data_.data() + index(0, j); }

    // The same elements in the same extents (whatever the arrays are called).
    bool operator==(const Array2& other) const {
        return exists_ == other.exists_ && upper1_ == other.upper1_ && upper2_ == other.upper2_ &&
               data_ == other.data_;
    }

  private:
    static void refuseNegative(int upper1, int upper2) {
        if (upper1 < 0 || upper2 < 0)
            ThrowOutOfRange("dimensioned to " + std::to_string(upper1) + " x " +
                            std::to_string(upper2));
    }
    static std::size_t strideFor(int upper1) {
        constexpr std::size_t perRow = kRowBytes / sizeof(T);
        return (static_cast<std::size_t>(upper1) + perRow) / perRow * perRow;
    }
    void setExtents(int upper1, int upper2) {
        stride_ = static_cast<int>(strideFor(upper1));
        upper1_ = upper1;
        upper2_ = upper2;
        exists_ = true;
    }
    // `count` elements, copied from `from` or zero, a few MiB at a time.
    void fillInParts(std::size_t count, const T* from, const std::function<void()>& between) {
        constexpr std::size_t kPart = (std::size_t{8} << 20) / sizeof(T);
        data_.clear();
        data_.reserve(count);
        while (data_.size() < count) {
            const std::size_t part = std::min(kPart, count - data_.size());
            if (from)
                data_.insert(data_.end(), from + data_.size(), from + data_.size() + part);
            else
                data_.resize(data_.size() + part);
            if (between) between();
        }
    }
    std::size_t index(int i, int j) const {
        return static_cast<std::size_t>(j) * static_cast<std::size_t>(stride_) +
               static_cast<std::size_t>(i);
    }
    const char* name_;
    CacheLineVector<T> data_;
    int upper1_ = -1;
    int upper2_ = -1;
    int stride_ = 0;
    bool exists_ = false;
};

} // namespace kestrel
