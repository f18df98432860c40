// The Ogg Vorbis reader: decodes frame by frame into a block that doubles as it fills.
#include "framework/audio/ogg_reader.h"

#include <climits>
#include <cstdlib>

#include "framework/audio/ogg_comments.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

// Room kept free for the next frame, per channel; no Vorbis frame is longer.
constexpr size_t kFrameRoom = 4096;
// The block's byte count must fit the int lengths of the host and of OpenAL.
constexpr size_t kMaxValues = INT_MAX / sizeof(short);

}  // namespace

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz) {
    if (!vo_ogg_CommentsFit(file)) return nullptr;
    int error = 0;
    stb_vorbis* decoder = stb_vorbis_open_file(file, 0, &error, nullptr);
    if (!decoder) return nullptr;
    stb_vorbis_info info = stb_vorbis_get_info(decoder);
    if (info.channels <= 0) {
        stb_vorbis_close(decoder);
        return nullptr;
    }
    const size_t chans = static_cast<size_t>(info.channels);
    size_t room = chans * kFrameRoom;
    size_t used = 0;
    auto* values = static_cast<short*>(std::malloc(room * sizeof(short)));
    while (values) {
        int frames = stb_vorbis_get_frame_short_interleaved(decoder, info.channels, values + used,
                                                            static_cast<int>(room - used));
        if (frames <= 0) break;
        used += static_cast<size_t>(frames) * chans;
        if (room - used >= chans * kFrameRoom) continue;
        short* grown = room * 2 <= kMaxValues
                           ? static_cast<short*>(std::realloc(values, room * 2 * sizeof(short)))
                           : nullptr;
        if (!grown) {
            std::free(values);
            values = nullptr;
            break;
        }
        values = grown;
        room *= 2;
    }
    stb_vorbis_close(decoder);
    if (!values) return nullptr;

    // Shrinking never fails in practice; keep the larger block if it does.
    if (auto* shrunk = static_cast<short*>(std::realloc(values, (used > 0 ? used : 1) * sizeof(short)))) {
        values = shrunk;
    }
    *length = static_cast<int>(used / chans);
    *channels = info.channels;
    *format = 2;
    *hertz = static_cast<int>(info.sample_rate);
    return reinterpret_cast<unsigned char*>(values);
}
