// The animated cursor walk and the image choice on arbitrary bytes: besides
// the sanitizers' checks, nothing the walk reports may point outside the
// input or name a frame that does not exist.
#include "anicur/ani_walk.h"
#include "anicur/icon_dir.h"

#include <cstdlib>
#include <memory>
#include <cstring>

using namespace anicur;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const AniWalkResult r = AniWalk(data, size);
    if (r.code != AniOk) {
        if (!r.frames.empty() || !r.sequence.empty())
            std::abort();
    } else {
        if (r.sequence.size() != r.rates.size() || (r.frames.empty() && !r.sequence.empty()))
            std::abort();
        for (size_t i = 0; i < r.sequence.size(); ++i)
            if (r.sequence[i] < 0 || static_cast<size_t>(r.sequence[i]) >= r.frames.size() || r.rates[i] < 0)
                std::abort();
        for (const ByteRange& f : r.frames) {
            if (f.offset > size || f.length > size - f.offset)
                std::abort();
            // Each frame on its own exact-size copy, as the reader's image
            // choice sees it.
            std::unique_ptr<uint8_t[]> frame(new uint8_t[f.length]);
            std::memcpy(frame.get(), data + f.offset, f.length);
            if (const auto image = ChooseIconImage(frame.get(), f.length))
                if (image->offset > f.length || image->length > f.length - image->offset)
                    std::abort();
        }
    }
    // The input as a frame of its own (a cursor or icon file image).
    for (const IconImage& image : ListIconImages(data, size))
        if (image.offset > size || image.length > size - image.offset || image.width < 1 || image.height < 1)
            std::abort();
    return 0;
}
