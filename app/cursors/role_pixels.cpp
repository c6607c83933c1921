#include "app/cursors/role_pixels.h"

#include <algorithm>

namespace rolemenu {
namespace {

int Channel(uint32_t pixel, int shift) noexcept { return static_cast<int>((pixel >> shift) & 0xFF); }

} // namespace

std::vector<uint32_t> PremultipliedFromBackdrops(const std::vector<uint32_t>& onBlack,
                                                 const std::vector<uint32_t>& onWhite)
{
    if (onBlack.size() != onWhite.size())
        return {};
    std::vector<uint32_t> out(onBlack.size());
    for (std::size_t i = 0; i < out.size(); ++i) {
        // Over black a pixel shows its premultiplied colour; over white that
        // plus the white let through: (255 - alpha) in every channel.
        int through = 0;
        bool inverts = false;
        for (int shift : {0, 8, 16}) {
            const int black = Channel(onBlack[i], shift), white = Channel(onWhite[i], shift);
            inverts = inverts || black > white;
            // The channel that lets the least through decides, which keeps
            // the rounding of each drawing from making a pixel see-through.
            through = shift == 0 ? white - black : std::min(through, white - black);
        }
        if (inverts) {
            out[i] = 0xFF000000u;
            continue;
        }
        const int alpha = 255 - through;
        uint32_t pixel = static_cast<uint32_t>(alpha) << 24;
        for (int shift : {0, 8, 16})
            pixel |= static_cast<uint32_t>(std::min(Channel(onBlack[i], shift), alpha)) << shift;
        out[i] = pixel;
    }
    return out;
}

} // namespace rolemenu
