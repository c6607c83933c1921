#include "tests/e2e/pe_imports.h"

#include <cstdint>
#include <cstring>

namespace e2e {
namespace {
template <class T>
bool Read(const std::string& image, std::size_t offset, T& out)
{
    if (offset > image.size() || image.size() - offset < sizeof(T))
        return false;
    std::memcpy(&out, image.data() + offset, sizeof(T));
    return true;
}
} // namespace

std::vector<std::string> ImportedDlls(const std::string& image)
{
    std::vector<std::string> dlls;
    uint32_t peOffset = 0;
    uint32_t signature = 0;
    if (image.size() < 0x40 || image.compare(0, 2, "MZ") != 0 || !Read(image, 0x3C, peOffset) ||
        !Read(image, peOffset, signature) || signature != 0x00004550)
        return dlls;
    std::size_t fileHeader = peOffset + 4;
    uint16_t sections = 0, optionalSize = 0, magic = 0;
    Read(image, fileHeader + 2, sections);
    Read(image, fileHeader + 16, optionalSize);
    std::size_t optional = fileHeader + 20;
    if (!Read(image, optional, magic) || magic != 0x20B) // PE32+
        return dlls;
    uint32_t importRva = 0;
    Read(image, optional + 112 + 8, importRva); // data directory 1: imports
    std::size_t sectionTable = optional + optionalSize;

    auto toOffset = [&](uint32_t rva) -> std::size_t {
        for (uint16_t i = 0; i < sections; ++i) {
            std::size_t s = sectionTable + i * 40u;
            uint32_t vsize = 0, va = 0, rawSize = 0, raw = 0;
            if (!Read(image, s + 8, vsize) || !Read(image, s + 12, va) || !Read(image, s + 16, rawSize) ||
                !Read(image, s + 20, raw))
                return std::size_t(-1);
            uint32_t span = vsize > rawSize ? vsize : rawSize;
            if (rva >= va && rva < va + span)
                return raw + (rva - va);
        }
        return std::size_t(-1);
    };

    std::size_t desc = toOffset(importRva);
    for (; desc != std::size_t(-1); desc += 20) {
        uint32_t nameRva = 0, thunk = 0;
        if (!Read(image, desc + 12, nameRva) || !Read(image, desc + 0, thunk))
            break;
        if (nameRva == 0 && thunk == 0)
            break;
        std::size_t name = toOffset(nameRva);
        if (name >= image.size())
            break;
        dlls.emplace_back(image.c_str() + name);
    }
    return dlls;
}

} // namespace e2e
