#include "chart/TeEngineStorage.h"

namespace {

const std::string kNoText;

}  // namespace

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
