// Compile-time proofs that the layer's records and constants are the
// system's, for the Windows sources that pass them to the system as they
// are. Include this and the layer's headers before <windows.h>: its macros
// (TRUE, GENERIC_READ, HKEY_LOCAL_MACHINE, ...) would otherwise replace the
// names of the layer's constants.
#pragma once

#include <array>
#include <bit>
#include <cstddef>

namespace platform::win32 {

// A record's bytes, to compare two records bit for bit at compile time.
template <typename Record>
constexpr std::array<unsigned char, sizeof(Record)> Bytes(const Record& record)
{
    return std::bit_cast<std::array<unsigned char, sizeof(Record)>>(record);
}

}  // namespace platform::win32

// For a list of constant names X(name) ...: before <windows.h>, captures the
// layer's value of each under a name that no macro has ...
#define UMBRASCOPE_CAPTURE_CONSTANT(name) static constexpr auto kLayer_##name = platform::name;
// ... and after it, checks the capture against the system's macro.
#define UMBRASCOPE_CHECK_CONSTANT(name) \
    static_assert(kLayer_##name == (name), #name " differs from the system's value");

#define UMBRASCOPE_SAME_SIZE(Record) \
    static_assert(sizeof(platform::Record) == sizeof(::Record), #Record " differs in size from the system's")

#define UMBRASCOPE_SAME_FIELD(Record, field)                                     \
    static_assert(offsetof(platform::Record, field) == offsetof(::Record, field) && \
                      sizeof(platform::Record::field) == sizeof(::Record::field),   \
                  #Record "." #field " is not where the system has it")

// A bit-field has no offset to compare. Set to all ones in an otherwise zero
// record of each kind, it must make the same bytes: the same bits of the
// same word, no more and no fewer.
#define UMBRASCOPE_SAME_FLAG(Record, field)                                                                 \
    static_assert(                                                                                          \
        [] {                                                                                                \
            platform::Record layer{};                                                                       \
            ::Record system{};                                                                              \
            --layer.field;                                                                                  \
            --system.field;                                                                                 \
            return platform::win32::Bytes(layer) == platform::win32::Bytes(system);                         \
        }(),                                                                                                \
        #Record "." #field " is not at the system's bits")
