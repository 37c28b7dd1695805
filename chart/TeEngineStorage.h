// Per-point storage of a series, sized for long recordings: a season of ten
// million readings must fit beside the rest of the program, so values live
// in fixed chunks that are never copied as the store grows, and a series
// whose points have no text or colour keeps no storage for them at all.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <span>
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

// A growable sequence of plain values in chunks of kChunkSize. A full chunk
// is never moved, so appending to ten million values costs what appending to
// ten does. Each new chunk starts small and doubles up to kChunkSize, so a
// short store stays short and at most half of the last chunk is unused.
template <class T>
class ChunkedStore {
    static_assert(std::is_trivially_copyable_v<T>);

public:
    static constexpr unsigned kChunkShift = 12;
    static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkShift;
    static constexpr std::size_t kMask = kChunkSize - 1;

    ChunkedStore() = default;
    ChunkedStore(const ChunkedStore&) = delete;
    ChunkedStore& operator=(const ChunkedStore&) = delete;
    ~ChunkedStore() { release(); }

    std::size_t size() const { return FSize; }
    std::size_t capacity() const { return FCapacity; }
    bool empty() const { return FSize == 0; }
    T& operator[](std::size_t i) { return FChunks[i >> kChunkShift][i & kMask]; }
    const T& operator[](std::size_t i) const { return FChunks[i >> kChunkShift][i & kMask]; }
    T& back() { return (*this)[FSize - 1]; }
    const T& back() const { return (*this)[FSize - 1]; }
    // The values from `index` (< size) to the end of its chunk or of the
    // store, whichever comes first: what can be read as one array.
    std::span<const T> Piece(std::size_t index) const
    {
        const std::size_t end = std::min(FSize, (index | kMask) + 1);
        return {&(*this)[index], end - index};
    }
    // Bytes held: every chunk's capacity and the chunk table.
    std::size_t StorageBytes() const { return FCapacity * sizeof(T) + FChunks.capacity() * sizeof(T*); }

    // Raises std::bad_alloc when the memory cannot be had; the values are
    // unchanged then.
    void reserve(std::size_t capacity)
    {
        while (FCapacity < capacity)
            Grow();
    }
    // Room for one more value.
    void ReserveOneMore()
    {
        if (FSize == FCapacity)
            Grow();
    }
    void push_back(const T& value)
    {
        ReserveOneMore();
        (*this)[FSize++] = value;
    }
    // Inserts before `index` (0..size); needs spare capacity (see
    // ReserveOneMore), so it never allocates and never fails.
    void insert(std::size_t index, const T& value) noexcept
    {
        const std::size_t top = FSize >> kChunkShift;
        const std::size_t at = index >> kChunkShift;
        // From the back: each chunk makes room at its front and takes the
        // last value of the chunk before it.
        for (std::size_t c = top; c > at; --c) {
            T* chunk = FChunks[c];
            const std::size_t moved = c == top ? (FSize & kMask) : kMask;
            std::memmove(static_cast<void*>(chunk + 1), chunk, moved * sizeof(T));
            chunk[0] = FChunks[c - 1][kMask];
        }
        T* chunk = FChunks[at];
        const std::size_t offset = index & kMask;
        const std::size_t end = at == top ? (FSize & kMask) : kMask;
        std::memmove(static_cast<void*>(chunk + offset + 1), chunk + offset, (end - offset) * sizeof(T));
        chunk[offset] = value;
        ++FSize;
    }
    void erase(std::size_t index) noexcept
    {
        const std::size_t last = FSize - 1;
        const std::size_t top = last >> kChunkShift;
        std::size_t offset = index & kMask;
        for (std::size_t c = index >> kChunkShift; c <= top; ++c) {
            T* chunk = FChunks[c];
            const std::size_t end = c == top ? (last & kMask) : kMask;
            std::memmove(static_cast<void*>(chunk + offset), chunk + offset + 1, (end - offset) * sizeof(T));
            if (c < top)
                chunk[kMask] = FChunks[c + 1][0];
            offset = 0;
        }
        --FSize;
    }
    // Moves the first value to the end.
    void RotateLeft() noexcept
    {
        if (FSize < 2)
            return;
        const T first = (*this)[0];
        erase(0);
        (*this)[FSize++] = first;
    }
    // Frees the memory, not just the values.
    void release() noexcept
    {
        for (T* chunk : FChunks)
            std::free(chunk);
        FChunks.release();
        FSize = 0;
        FCapacity = 0;
        FLastChunkCapacity = 0;
    }
    void swap(ChunkedStore& other) noexcept
    {
        FChunks.swap(other.FChunks);
        std::swap(FSize, other.FSize);
        std::swap(FCapacity, other.FCapacity);
        std::swap(FLastChunkCapacity, other.FLastChunkCapacity);
    }

private:
    static constexpr std::size_t kFirstChunkCapacity = 64;

    void Grow()
    {
        if (!FChunks.empty() && FLastChunkCapacity < kChunkSize) {
            // Only a short last chunk is ever moved, and never more than
            // half a chunk of values.
            const std::size_t grown = FLastChunkCapacity * 2;
            void* chunk = std::realloc(FChunks.back(), grown * sizeof(T));
            if (chunk == nullptr)
                throw std::bad_alloc();
            FChunks.back() = static_cast<T*>(chunk);
            FCapacity += grown - FLastChunkCapacity;
            FLastChunkCapacity = grown;
            return;
        }
        ::ReserveOneMore(FChunks);
        const std::size_t capacity = kFirstChunkCapacity;
        void* chunk = std::malloc(capacity * sizeof(T));
        if (chunk == nullptr)
            throw std::bad_alloc();
        FChunks.push_back(static_cast<T*>(chunk));
        FCapacity += capacity;
        FLastChunkCapacity = capacity;
    }

    PointStore<T*> FChunks;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
    std::size_t FLastChunkCapacity = 0;
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
    // Whether no point has a text (and nothing is held for texts).
    bool Empty() const { return FSlots.empty(); }

private:
    PointStore<std::uint32_t> FSlots;
    std::vector<std::string> FPool;
    std::vector<std::uint32_t> FFreeSlots;
};
