// Per-point storage of a series, sized for long recordings: a million points
// must fit in about 20 bytes each, so growth is kept to an eighth and a
// series whose points have no text keeps no per-point label storage at all.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

// Makes room for one more element. Growing by an eighth instead of the usual
// doubling keeps the unused tail of a long store under 12.5 %; appending
// stays amortised constant time.
template <class Store>
void ReserveOneMore(Store& store)
{
    constexpr std::size_t kMinGrowth = 64;
    if (store.size() == store.capacity())
        store.reserve(store.size() + std::max(store.size() / 8, kMinGrowth));
}

// A growable array of plain values (numbers, colours) on malloc/realloc.
// realloc may extend a large block in place or remap its pages, where a
// vector always allocates anew and copies; that matters when a store of
// millions of values grows in steps of an eighth. Only what the series
// needs: no iterators beyond pointers.
template <class T>
class PointStore {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    PointStore() = default;
    PointStore(const PointStore&) = delete;
    PointStore& operator=(const PointStore&) = delete;
    ~PointStore() { std::free(FData); }

    std::size_t size() const { return FSize; }
    std::size_t capacity() const { return FCapacity; }
    bool empty() const { return FSize == 0; }
    T* begin() { return FData; }
    T* end() { return FData + FSize; }
    const T* begin() const { return FData; }
    const T* end() const { return FData + FSize; }
    T& operator[](std::size_t i) { return FData[i]; }
    const T& operator[](std::size_t i) const { return FData[i]; }
    T& back() { return FData[FSize - 1]; }
    const T& back() const { return FData[FSize - 1]; }

    // Raises std::bad_alloc when the memory cannot be had; the store is
    // unchanged then.
    void reserve(std::size_t capacity)
    {
        if (capacity <= FCapacity)
            return;
        void* grown = std::realloc(FData, capacity * sizeof(T));
        if (grown == nullptr)
            throw std::bad_alloc();
        FData = static_cast<T*>(grown);
        FCapacity = capacity;
    }
    // Inserts before `index` (0..size); needs spare capacity (see
    // ReserveOneMore), so it never allocates and never fails.
    void insert(std::size_t index, const T& value) noexcept
    {
        if (index < FSize)
            std::memmove(FData + index + 1, FData + index, (FSize - index) * sizeof(T));
        FData[index] = value;
        ++FSize;
    }
    void erase(std::size_t index) noexcept
    {
        std::memmove(FData + index, FData + index + 1, (FSize - index - 1) * sizeof(T));
        --FSize;
    }
    // Frees the memory, not just the values.
    void release() noexcept
    {
        std::free(FData);
        FData = nullptr;
        FSize = 0;
        FCapacity = 0;
    }
    void push_back(const T& value)
    {
        ReserveOneMore(*this);
        FData[FSize++] = value;
    }
    // Grows to `size` values, the new ones zero.
    void resize(std::size_t size)
    {
        reserve(size);
        if (size > FSize)
            std::memset(static_cast<void*>(FData + FSize), 0, (size - FSize) * sizeof(T));
        FSize = size;
    }
    void swap(PointStore& other) noexcept
    {
        std::swap(FData, other.FData);
        std::swap(FSize, other.FSize);
        std::swap(FCapacity, other.FCapacity);
    }

private:
    T* FData = nullptr;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
};

// Frees the storage of a vector, not just its elements.
template <class T>
void ReleaseStore(std::vector<T>& store)
{
    std::vector<T>().swap(store);
}

// The optional text of each point, index-aligned with the series' values.
// Until the first non-empty text arrives nothing is allocated; after that
// each point holds a 4-byte slot number into a pool of texts (0 = no text),
// and a freed text's slot is reused by the next one.
class PointLabels {
public:
    // Step one of inserting `text` before the point at some index, for a
    // series that holds `pointCount` points: allocates everything the
    // insertion needs, so that Commit cannot fail. Returns the slot to pass
    // to Commit.
    std::uint32_t Prepare(int pointCount, const std::string& text);
    // Step two: inserts the prepared slot at `index`. Never allocates.
    void Commit(int index, std::uint32_t slot) noexcept;
    // Frees the text of the point at `index` and removes the point.
    void Delete(int index);
    // Frees every text and all storage.
    void Clear() noexcept;

    // The text of the point at `index`; empty when it has none. `index` must
    // be a valid point index.
    const std::string& At(int index) const;
    // Reorders the points: the new point i is the old point order[i].
    void Permute(const std::vector<int>& order);
    // Bytes held, counting capacity, the pool and the texts' own storage.
    std::size_t StorageBytes() const;

private:
    PointStore<std::uint32_t> FSlots;
    std::vector<std::string> FPool;
    std::vector<std::uint32_t> FFreeSlots;
};
