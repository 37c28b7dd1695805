// Per-point storage of a series, sized for long recordings: a season of ten
// million readings must fit beside the rest of the program, so values live
// in fixed chunks that are never copied as the store grows, and a series
// whose points have no text or colour keeps no storage for them at all.
#pragma once

#include <algorithm>
#include <bit>
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
void ReserveOneMore(Store& store, std::size_t minGrowth = 64)
{
    if (store.size() == store.capacity())
        store.reserve(store.size() + std::max(store.size() / 8, minGrowth));
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

// The values of one dimension of a series, in chunks of kChunkSize. A full
// chunk is never moved, so appending to ten million values costs what
// appending to ten does. Each new chunk starts small and doubles up to
// kChunkSize, so a short store stays short and at most half of the last
// chunk is unused.
//
// A chunk is packed the moment it fills: each value is held as the
// difference of its bit pattern from the chunk's smallest pattern, in as
// many bytes as the largest difference needs. A night's readings or time
// stamps lie close together, so their patterns share the leading bits and
// take 5 to 7 bytes instead of 8; every value reads back bit for bit, NaN
// and -0.0 included. Values that share nothing stay 8 bytes. Changes other
// than appending work on unpacked chunks (see PrepareChange) and pack the
// chunks they touched again.
class ValueStore {
public:
    static constexpr unsigned kChunkShift = 12;
    static constexpr std::size_t kChunkSize = std::size_t{1} << kChunkShift;
    static constexpr std::size_t kMask = kChunkSize - 1;

    ValueStore() = default;
    ValueStore(const ValueStore&) = delete;
    ValueStore& operator=(const ValueStore&) = delete;
    ~ValueStore() { release(); }

    std::size_t size() const { return FSize; }
    std::size_t capacity() const { return FCapacity; }
    bool empty() const { return FSize == 0; }
    double operator[](std::size_t i) const
    {
        // An unpacked chunk is the same sum with width 8 and base 0, so
        // reading takes no branch.
        const Chunk& chunk = FChunks[i >> kChunkShift];
        std::uint64_t bits;
        std::memcpy(&bits, chunk.Bytes + (i & kMask) * chunk.Width, sizeof bits);
        return std::bit_cast<double>(chunk.Base + (bits & WidthMask(chunk.Width)));
    }
    double back() const { return (*this)[FSize - 1]; }
    // The values from `index` (< size) to the end of its chunk or of the
    // store, whichever comes first, as one array. A packed chunk's values
    // are unpacked into `buffer`, as many as it holds, so a small buffer
    // unpacks no more than is needed.
    std::span<const double> Piece(std::size_t index, std::span<double> buffer) const;
    // Bytes held: every chunk's allocation and the chunk table.
    std::size_t StorageBytes() const { return FBytes + FChunks.capacity() * sizeof(Chunk); }

    // Room for one more value. Raises std::bad_alloc with the values
    // unchanged.
    void ReserveOneMore()
    {
        if (FSize == FCapacity)
            Grow();
    }
    void push_back(double value)
    {
        ReserveOneMore();
        Chunk& chunk = FChunks[FSize >> kChunkShift];
        std::memcpy(chunk.Bytes + (FSize & kMask) * sizeof value, &value, sizeof value);
        if ((++FSize & kMask) == 0)
            Pack(chunk);
    }

    // Unpacks the chunks that hold any of the values first..last - 1, so
    // that Set, insert and erase can change them. Raises std::bad_alloc;
    // the values are unchanged either way.
    void PrepareChange(std::size_t first, std::size_t last);
    // Each needs PrepareChange over the values it changes or moves: Set over
    // `index`, insert and erase from `index` to the end; insert also needs
    // spare capacity (ReserveOneMore). Then they never allocate and never
    // fail.
    void Set(std::size_t index, double value) noexcept;
    // Inserts before `index` (0..size).
    void insert(std::size_t index, double value) noexcept;
    void erase(std::size_t index) noexcept;
    // Moves the first value to the end. Raises std::bad_alloc with nothing
    // changed.
    void RotateLeft();
    // Frees the memory, not just the values.
    void release() noexcept;
    void swap(ValueStore& other) noexcept;

private:
    struct Chunk {
        unsigned char* Bytes;
        // Added to every stored difference; 0 while unpacked.
        std::uint64_t Base;
        // Bytes a value, 1 to 8; 8 while unpacked.
        std::size_t Width;
    };
    static constexpr std::size_t kFirstChunkCapacity = 64;

    static std::uint64_t WidthMask(std::size_t width) { return ~std::uint64_t{0} >> (64 - 8 * width); }
    static double* Values(const Chunk& chunk) { return reinterpret_cast<double*>(chunk.Bytes); }
    bool IsFull(std::size_t chunk) const { return (chunk + 1) * kChunkSize <= FSize; }
    void Grow();
    // Packs a full chunk; without the memory for it, the chunk stays
    // unpacked, which costs room and nothing else.
    void Pack(Chunk& chunk) noexcept;
    void Unpack(Chunk& chunk);
    // Packs again the full chunks that hold any of first..last - 1.
    void Repack(std::size_t first, std::size_t last) noexcept;

    PointStore<Chunk> FChunks;
    std::size_t FSize = 0;
    std::size_t FCapacity = 0;
    std::size_t FLastChunkCapacity = 0;
    std::size_t FBytes = 0;
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
