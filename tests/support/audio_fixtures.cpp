#include "tests/support/audio_fixtures.h"

#include "platform/audio.h"

#include <cstdlib>
#include <vector>

namespace testing_support {

TMix RenderMix(int frames) {
    std::vector<int16_t> out(2 * size_t(frames));
    platform::RenderAudio(frames, out.data());
    TMix mix;
    for (int i = 0; i < frames; ++i) {
        mix.left += std::abs(out[2 * size_t(i)]);
        mix.right += std::abs(out[2 * size_t(i) + 1]);
    }
    mix.left /= frames;
    mix.right /= frames;
    return mix;
}

} // namespace testing_support
