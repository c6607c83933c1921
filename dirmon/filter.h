// The kinds of change a directory monitor reports: a set of six elements kept
// in one byte, and the notify filter of the system that the set stands for.
#pragma once
#include <cstdint>
#include <initializer_list>

enum DirMonitorFilterElement : uint8_t {
    dmfFileName, // names of files: created, renamed, deleted
    dmfDirName,  // names of folders
    dmfAttributes,
    dmfSize,
    dmfLastWrite,
    dmfChangeSecurity,
};

class TDirMonitorFilter {
public:
    // The set with every element.
    static constexpr uint8_t kAllBits = 0x3F;

    constexpr TDirMonitorFilter() noexcept = default;
    constexpr TDirMonitorFilter(std::initializer_list<DirMonitorFilterElement> elements) noexcept
    {
        for (DirMonitorFilterElement e : elements)
            bits_ = static_cast<uint8_t>(bits_ | Bit(e));
    }
    // The set stored as a byte (bit n = element n); bits beyond the six
    // elements are dropped.
    static constexpr TDirMonitorFilter FromByte(uint8_t bits) noexcept
    {
        TDirMonitorFilter f;
        f.bits_ = static_cast<uint8_t>(bits & kAllBits);
        return f;
    }
    constexpr uint8_t Byte() const noexcept { return bits_; }

    constexpr bool Contains(DirMonitorFilterElement e) const noexcept { return (bits_ & Bit(e)) != 0; }
    constexpr bool Empty() const noexcept { return bits_ == 0; }
    constexpr TDirMonitorFilter With(DirMonitorFilterElement e) const noexcept
    {
        return FromByte(static_cast<uint8_t>(bits_ | Bit(e)));
    }
    constexpr TDirMonitorFilter Without(DirMonitorFilterElement e) const noexcept
    {
        return FromByte(static_cast<uint8_t>(bits_ & ~Bit(e)));
    }

    // The system's notify filter: the OR of each element's flag. The first
    // five map bit for bit; security is 0x100 (0x020 and 0x040 have no element).
    constexpr uint32_t NotifyFilter() const noexcept
    {
        uint32_t flags = bits_ & 0x1Fu;
        if (Contains(dmfChangeSecurity))
            flags |= kNotifySecurity;
        return flags;
    }

    friend constexpr bool operator==(TDirMonitorFilter, TDirMonitorFilter) noexcept = default;

    // Values of the system's notify-filter flags, checked against the SDK
    // where the monitor includes it.
    static constexpr uint32_t kNotifyFileName = 0x001;
    static constexpr uint32_t kNotifyDirName = 0x002;
    static constexpr uint32_t kNotifyAttributes = 0x004;
    static constexpr uint32_t kNotifySize = 0x008;
    static constexpr uint32_t kNotifyLastWrite = 0x010;
    static constexpr uint32_t kNotifySecurity = 0x100;

private:
    static constexpr uint8_t Bit(DirMonitorFilterElement e) noexcept
    {
        const unsigned n = static_cast<unsigned>(e);
        return n <= static_cast<unsigned>(dmfChangeSecurity) ? static_cast<uint8_t>(1u << n) : uint8_t{0};
    }
    uint8_t bits_ = 0;
};

// A new monitor reports names of files, attributes, sizes and last writes:
// the byte 29.
inline constexpr TDirMonitorFilter kDefaultDirMonitorFilter{dmfFileName, dmfAttributes, dmfSize, dmfLastWrite};
static_assert(kDefaultDirMonitorFilter.Byte() == 29);
