#include "chart/TeEngineStorage.h"

#include <bit>

namespace {

const std::string kNoText;

// A packed value is written as a whole 64-bit word whose high bytes the next
// value overwrites, so its low bytes must come first.
static_assert(std::endian::native == std::endian::little);

// The allocation of a packed chunk: the last value is written and read as a
// whole word too.
std::size_t PackedBytes(std::size_t width)
{
    return ValueStore::kChunkSize * width + sizeof(std::uint64_t) - width;
}

constexpr std::size_t kUnpackedBytes = ValueStore::kChunkSize * sizeof(double);

}  // namespace

std::span<const double> ValueStore::Piece(std::size_t index, std::span<double> buffer) const
{
    const Chunk& chunk = FChunks[index >> kChunkShift];
    const std::size_t end = std::min(FSize, (index | kMask) + 1);
    if (chunk.Width == sizeof(double))
        return {Values(chunk) + (index & kMask), end - index};
    const std::size_t count = std::min(end - index, buffer.size());
    const unsigned char* bytes = chunk.Bytes + (index & kMask) * chunk.Width;
    const std::uint64_t mask = WidthMask(chunk.Width);
    for (std::size_t i = 0; i < count; ++i, bytes += chunk.Width) {
        std::uint64_t bits;
        std::memcpy(&bits, bytes, sizeof bits);
        buffer[i] = std::bit_cast<double>(chunk.Base + (bits & mask));
    }
    return buffer.first(count);
}

void ValueStore::PrepareChange(std::size_t first, std::size_t last)
{
    if (first >= last)
        return;
    for (std::size_t c = first >> kChunkShift; c <= (last - 1) >> kChunkShift; ++c)
        Unpack(FChunks[c]);
}

void ValueStore::Repack(std::size_t first, std::size_t last) noexcept
{
    if (first >= last)
        return;
    for (std::size_t c = first >> kChunkShift; c <= (last - 1) >> kChunkShift && IsFull(c); ++c)
        Pack(FChunks[c]);
}

void ValueStore::Set(std::size_t index, double value) noexcept
{
    Values(FChunks[index >> kChunkShift])[index & kMask] = value;
    Repack(index, index + 1);
}

void ValueStore::insert(std::size_t index, double value) noexcept
{
    const std::size_t top = FSize >> kChunkShift;
    const std::size_t at = index >> kChunkShift;
    // From the back: each chunk makes room at its front and takes the last
    // value of the chunk before it.
    for (std::size_t c = top; c > at; --c) {
        double* chunk = Values(FChunks[c]);
        const std::size_t moved = c == top ? (FSize & kMask) : kMask;
        std::memmove(chunk + 1, chunk, moved * sizeof(double));
        chunk[0] = Values(FChunks[c - 1])[kMask];
    }
    double* chunk = Values(FChunks[at]);
    const std::size_t offset = index & kMask;
    const std::size_t end = at == top ? (FSize & kMask) : kMask;
    std::memmove(chunk + offset + 1, chunk + offset, (end - offset) * sizeof(double));
    chunk[offset] = value;
    ++FSize;
    Repack(index, FSize);
}

void ValueStore::erase(std::size_t index) noexcept
{
    const std::size_t last = FSize - 1;
    const std::size_t top = last >> kChunkShift;
    std::size_t offset = index & kMask;
    for (std::size_t c = index >> kChunkShift; c <= top; ++c) {
        double* chunk = Values(FChunks[c]);
        const std::size_t end = c == top ? (last & kMask) : kMask;
        std::memmove(chunk + offset, chunk + offset + 1, (end - offset) * sizeof(double));
        if (c < top)
            chunk[kMask] = Values(FChunks[c + 1])[0];
        offset = 0;
    }
    --FSize;
    Repack(index, FSize);
}

void ValueStore::RotateLeft()
{
    if (FSize < 2)
        return;
    PrepareChange(0, FSize);
    const double first = (*this)[0];
    erase(0);
    // Into the room the first value left, so this cannot allocate.
    push_back(first);
}

void ValueStore::release() noexcept
{
    for (const Chunk& chunk : FChunks)
        std::free(chunk.Bytes);
    FChunks.release();
    FSize = 0;
    FCapacity = 0;
    FLastChunkCapacity = 0;
    FBytes = 0;
}

void ValueStore::swap(ValueStore& other) noexcept
{
    FChunks.swap(other.FChunks);
    std::swap(FSize, other.FSize);
    std::swap(FCapacity, other.FCapacity);
    std::swap(FLastChunkCapacity, other.FLastChunkCapacity);
    std::swap(FBytes, other.FBytes);
}

void ValueStore::Grow()
{
    if (!FChunks.empty() && FLastChunkCapacity < kChunkSize) {
        // Only a short last chunk is ever moved, and never more than half a
        // chunk of values. It is never packed: only full chunks are.
        const std::size_t grown = FLastChunkCapacity * 2;
        void* bytes = std::realloc(FChunks.back().Bytes, grown * sizeof(double));
        if (bytes == nullptr)
            throw std::bad_alloc();
        FChunks.back().Bytes = static_cast<unsigned char*>(bytes);
        FCapacity += grown - FLastChunkCapacity;
        FBytes += (grown - FLastChunkCapacity) * sizeof(double);
        FLastChunkCapacity = grown;
        return;
    }
    // A table entry a few thousand values: a long store's table grows by
    // an eighth, a short one's by a few entries.
    ::ReserveOneMore(FChunks, 8);
    void* bytes = std::malloc(kFirstChunkCapacity * sizeof(double));
    if (bytes == nullptr)
        throw std::bad_alloc();
    FChunks.push_back({static_cast<unsigned char*>(bytes), 0, sizeof(double)});
    FCapacity += kFirstChunkCapacity;
    FBytes += kFirstChunkCapacity * sizeof(double);
    FLastChunkCapacity = kFirstChunkCapacity;
}

void ValueStore::Pack(Chunk& chunk) noexcept
{
    if (chunk.Width != sizeof(double))
        return;
    const double* values = Values(chunk);
    std::uint64_t low = ~std::uint64_t{0};
    std::uint64_t high = 0;
    for (std::size_t i = 0; i < kChunkSize; ++i) {
        const auto bits = std::bit_cast<std::uint64_t>(values[i]);
        low = std::min(low, bits);
        high = std::max(high, bits);
    }
    // Equal values still take a byte each, so that every width has a mask.
    const std::size_t width = std::max<std::size_t>(1, (std::bit_width(high - low) + 7) / 8);
    if (width == sizeof(double))
        return;
    auto* packed = static_cast<unsigned char*>(std::malloc(PackedBytes(width)));
    if (packed == nullptr)
        return;
    for (std::size_t i = 0; i < kChunkSize; ++i) {
        const std::uint64_t difference = std::bit_cast<std::uint64_t>(values[i]) - low;
        std::memcpy(packed + i * width, &difference, sizeof difference);
    }
    std::free(chunk.Bytes);
    FBytes = FBytes - kUnpackedBytes + PackedBytes(width);
    chunk = {packed, low, width};
}

void ValueStore::Unpack(Chunk& chunk)
{
    if (chunk.Width == sizeof(double))
        return;
    auto* unpacked = static_cast<unsigned char*>(std::malloc(kUnpackedBytes));
    if (unpacked == nullptr)
        throw std::bad_alloc();
    const std::uint64_t mask = WidthMask(chunk.Width);
    for (std::size_t i = 0; i < kChunkSize; ++i) {
        std::uint64_t bits;
        std::memcpy(&bits, chunk.Bytes + i * chunk.Width, sizeof bits);
        bits = chunk.Base + (bits & mask);
        std::memcpy(unpacked + i * sizeof bits, &bits, sizeof bits);
    }
    std::free(chunk.Bytes);
    FBytes = FBytes - PackedBytes(chunk.Width) + kUnpackedBytes;
    chunk = {unpacked, 0, sizeof(double)};
}

std::uint32_t PointLabels::Prepare(int pointCount, const std::string& text)
{
    if (text.empty()) {
        if (!FSlots.empty())
            ReserveOneMore(FSlots);
        return 0;
    }
    if (FSlots.empty() && pointCount > 0) {
        FSlots.reserve(static_cast<std::size_t>(pointCount) + 1);
        FSlots.resize(static_cast<std::size_t>(pointCount));
    }
    ReserveOneMore(FSlots);
    if (!FFreeSlots.empty()) {
        const std::uint32_t slot = FFreeSlots.back();
        FPool[slot - 1] = text;
        FFreeSlots.pop_back();
        return slot;
    }
    FPool.push_back(text);
    return static_cast<std::uint32_t>(FPool.size());
}

void PointLabels::Commit(int index, std::uint32_t slot) noexcept
{
    // Prepare left FSlots empty only when no point has a text, the new one
    // included: then there is nothing to record.
    if (slot == 0 && FSlots.empty())
        return;
    FSlots.insert(static_cast<std::size_t>(index), slot);
}

void PointLabels::Delete(int index)
{
    if (FSlots.empty())
        return;
    const std::uint32_t slot = FSlots[static_cast<std::size_t>(index)];
    if (slot != 0) {
        FFreeSlots.push_back(slot);
        std::string().swap(FPool[slot - 1]);
    }
    FSlots.erase(static_cast<std::size_t>(index));
}

void PointLabels::Clear() noexcept
{
    FSlots.release();
    ReleaseStore(FPool);
    ReleaseStore(FFreeSlots);
}

const std::string& PointLabels::At(int index) const
{
    if (FSlots.empty())
        return kNoText;
    const std::uint32_t slot = FSlots[static_cast<std::size_t>(index)];
    return slot == 0 ? kNoText : FPool[slot - 1];
}

void PointLabels::Permute(const std::vector<int>& order)
{
    if (FSlots.empty())
        return;
    PointStore<std::uint32_t> permuted;
    permuted.reserve(FSlots.capacity());
    for (int from : order)
        permuted.push_back(FSlots[static_cast<std::size_t>(from)]);
    FSlots.swap(permuted);
}

std::size_t PointLabels::StorageBytes() const
{
    std::size_t bytes = FSlots.capacity() * sizeof(std::uint32_t) + FPool.capacity() * sizeof(std::string) +
                        FFreeSlots.capacity() * sizeof(std::uint32_t);
    for (const std::string& text : FPool) {
        // Short texts live inside the string object itself.
        if (text.capacity() > std::string().capacity())
            bytes += text.capacity() + 1;
    }
    return bytes;
}
