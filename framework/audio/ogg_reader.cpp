// The Ogg Vorbis reader: decodes frame by frame into a block that doubles as it fills.
#include "framework/audio/ogg_reader.h"

#include <climits>
#include <cstdio>
#include <cstdlib>

#include "framework/audio/ogg_comments.h"

#define STB_VORBIS_HEADER_ONLY
#include <stb_vorbis.h>

namespace {

// Room kept free for the next frame, per channel; no Vorbis frame is longer.
constexpr size_t kFrameRoom = 4096;
// The block's byte count must fit the int lengths of the host and of OpenAL.
constexpr size_t kMaxValues = INT_MAX / sizeof(short);
// The decoder keeps its set-up in a buffer of ours: on some bad headers it does not free all
// it allocated itself. A stream whose set-up does not fit is opened again with twice the room,
// up to far more than any real stream needs.
constexpr int kFirstSetupBytes = 256 * 1024;
constexpr int kMaxSetupBytes = 32 * 1024 * 1024;

// Closes the decoder, then frees the buffer its set-up lived in.
void Close(stb_vorbis* decoder, stb_vorbis_alloc& setup) {
    if (decoder) stb_vorbis_close(decoder);
    std::free(setup.alloc_buffer);
    setup.alloc_buffer = nullptr;
}

}  // namespace

unsigned char* LoadOGG(FILE* file, int* length, int* channels, int* format, int* hertz) {
    if (!vo_ogg_CommentsFit(file)) return nullptr;
    long start = std::ftell(file);
    if (start < 0) return nullptr;
    stb_vorbis_alloc setup{nullptr, 0};
    stb_vorbis* decoder = nullptr;
    for (int room = kFirstSetupBytes; room <= kMaxSetupBytes; room *= 2) {
        std::free(setup.alloc_buffer);
        setup.alloc_buffer = static_cast<char*>(std::malloc(static_cast<size_t>(room)));
        setup.alloc_buffer_length_in_bytes = room;
        if (!setup.alloc_buffer || std::fseek(file, start, SEEK_SET) != 0) break;
        int error = 0;
        decoder = stb_vorbis_open_file(file, 0, &error, &setup);
        if (decoder || error != VORBIS_outofmem) break;
    }
    if (!decoder) {
        Close(nullptr, setup);
        return nullptr;
    }
    stb_vorbis_info info = stb_vorbis_get_info(decoder);
    if (info.channels <= 0) {
        Close(decoder, setup);
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
    Close(decoder, setup);
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
