// Ogg Vorbis encoding of the tune through libvorbisenc.
#include <cstdio>
#include <vorbis/vorbisenc.h>

#include "tools/assetgen/audio_files.h"
#include "tools/assetgen/synth.h"

namespace assetgen {

namespace {

bool WritePages(ogg_stream_state& stream, FILE* f, bool flush) {
    ogg_page page;
    while (flush ? ogg_stream_flush(&stream, &page) : ogg_stream_pageout(&stream, &page)) {
        if (std::fwrite(page.header, 1, page.header_len, f) != static_cast<size_t>(page.header_len)) return false;
        if (std::fwrite(page.body, 1, page.body_len, f) != static_cast<size_t>(page.body_len)) return false;
    }
    return true;
}

}  // namespace

bool WriteOggVorbis(const std::string& path, const std::vector<float>& left, const std::vector<float>& right) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    vorbis_info info;
    vorbis_info_init(&info);
    bool ok = vorbis_encode_init_vbr(&info, 2, kSampleRate, 0.45f) == 0;
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Garlic");
    vorbis_comment_add_tag(&comment, "ARTIST", "Floeward asset generator");
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;
    if (ok) {
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, 0x466c6f65);  // fixed serial: identical files on every run
        ogg_packet header, headerComment, headerCode;
        vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
        ogg_stream_packetin(&stream, &header);
        ogg_stream_packetin(&stream, &headerComment);
        ogg_stream_packetin(&stream, &headerCode);
        ok = WritePages(stream, f, true);

        const size_t chunk = 4096;
        size_t done = 0, total = left.size();
        bool ended = false;
        while (ok && !ended) {
            size_t n = std::min(chunk, total - done);
            if (n == 0) {
                vorbis_analysis_wrote(&dsp, 0);
            } else {
                float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
                for (size_t i = 0; i < n; i++) {
                    buffer[0][i] = left[done + i];
                    buffer[1][i] = right[done + i];
                }
                vorbis_analysis_wrote(&dsp, static_cast<int>(n));
                done += n;
            }
            while (vorbis_analysis_blockout(&dsp, &block) == 1) {
                vorbis_analysis(&block, nullptr);
                vorbis_bitrate_addblock(&block);
                ogg_packet packet;
                while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                    ogg_stream_packetin(&stream, &packet);
                    ok = ok && WritePages(stream, f, false);
                    if (packet.e_o_s) ended = true;
                }
            }
            if (n == 0) ended = true;
        }
        ok = ok && WritePages(stream, f, true);
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
    }
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(f) == 0 && ok;
}

}  // namespace assetgen
