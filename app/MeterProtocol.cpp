#include "app/MeterProtocol.h"

#include "runtime/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

bool TReplyCollector::Append(const char* data, std::size_t size)
{
    const auto* zero = static_cast<const char*>(std::memchr(data, '\0', size));
    const std::size_t count = zero != nullptr ? static_cast<std::size_t>(zero - data) : size;
    if (count == 0)
        return FLength > 0 && FLast == kReplyTerminator;
    if (FLength < kHeadLength) {
        const std::size_t room = std::min(kHeadLength - FLength, count);
        std::memcpy(FHead + FLength, data, room);
    }
    FLength += count;
    FLast = data[count - 1];
    return FLast == kReplyTerminator;
}

std::string TReplyCollector::TakeHead()
{
    std::string head(FHead, std::min(FLength, kHeadLength));
    Clear();
    return head;
}

void TReplyCollector::Clear()
{
    FLength = 0;
    FLast = '\0';
}

TReply ClassifyReply(std::string_view head)
{
    if (head == "HELLO")
        return {TReplyKind::Greeting, {}, 0};
    if (head == "ERROR")
        return {TReplyKind::Error, {}, 0};
    const std::string_view trimmed = TrimControls(head);
    const auto value = TryStrToReading(trimmed);
    if (!value)
        return {};
    return {TReplyKind::Reading, std::string(trimmed), *value};
}

int GaugeProgressFor(long double reading)
{
    const long double scaled = std::trunc(reading * 100.0L);
    if (scaled >= static_cast<long double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (scaled <= static_cast<long double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(scaled);
}
