#pragma once
// A growing array of plain values for the records a kernel holds until its end: tens of
// megabytes for a ten-day pass. Its memory comes straight from the system in one mapping,
// marked for large pages where the system offers them, so that filling it costs a few hundred
// page faults instead of one per 4 KiB (each one a trap, and a costly one on a virtual
// machine). Growth doubles the capacity (a new mapping and one copy); a reserve from the
// expected count avoids it.
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace kova {

namespace large_array_memory {
// A zeroed mapping of at least `bytes`; throws std::bad_alloc when the system has none.
void* map(std::size_t bytes);
void unmap(void* memory, std::size_t bytes);
// Asks the system to back [memory, memory + bytes) with pages now, without touching a byte of
// it from this thread; a request the system cannot serve changes nothing.
void populate(void* memory, std::size_t bytes);
}  // namespace large_array_memory

template <typename T>
class LargeArray {
    static_assert(std::is_trivially_copyable_v<T>, "LargeArray holds plain values");

public:
    LargeArray() = default;
    LargeArray(const LargeArray&) = delete;
    LargeArray& operator=(const LargeArray&) = delete;
    ~LargeArray() { release(); }

    void reserve(std::size_t count) {
        if (count > capacity_) reallocate(count);
    }
    void push_back(const T& value) {
        if (size_ == capacity_) reallocate(capacity_ < kFirstCapacity ? kFirstCapacity : 2 * capacity_);
        data_[size_++] = value;
    }
    // Drops the last `count` values (count <= size()).
    void shrinkBy(std::size_t count) { size_ -= count; }
    // Makes the array `count` values long; values it gains are whatever the memory holds
    // (zero in fresh memory): for arrays that are filled in place after.
    void resize(std::size_t count) {
        reserve(count);
        size_ = count;
    }

    // The reserved memory, for populating it ahead of the values.
    void* reservedMemory() { return data_; }
    std::size_t reservedBytes() const { return capacity_ * sizeof(T); }

    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    const T& operator[](std::size_t index) const { return data_[index]; }

private:
    static constexpr std::size_t kFirstCapacity = 4096;

    void reallocate(std::size_t capacity) {
        T* fresh = static_cast<T*>(large_array_memory::map(capacity * sizeof(T)));
        if (size_ > 0) std::memcpy(fresh, data_, size_ * sizeof(T));
        release();
        data_ = fresh;
        capacity_ = capacity;
    }
    void release() {
        if (data_ != nullptr) large_array_memory::unmap(data_, capacity_ * sizeof(T));
        data_ = nullptr;
    }

    T* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace kova
