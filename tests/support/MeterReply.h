// What a meter's reading reply looks like on the wire.
#pragma once

#include <cctype>
#include <string>

// "19.53#": the five-character reading and its terminator.
inline bool IsReadingReply(const std::string& reply)
{
    auto digit = [&](int i) { return std::isdigit(static_cast<unsigned char>(reply[i])) != 0; };
    return reply.size() == 6 && digit(0) && digit(1) && reply[2] == '.' && digit(3) && digit(4) && reply[5] == '#';
}
