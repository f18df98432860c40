// Ogg Vorbis loading on files the test encodes: whole decoding of short and long sounds
// through the host, and damaged or hostile streams.
#include <gtest/gtest.h>

#include <vorbis/vorbisenc.h>

#include <cstdlib>

#include "audio_test_support.h"
#include "framework/audio/ogg_reader.h"

namespace {

using namespace audio_test;

// Encodes a 440 Hz tone (a fifth higher on the right channel) as an Ogg Vorbis file.
std::string EncodeOgg(int channels, int rate, int frames) {
    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, channels, rate, 0.3f) != 0) return "";
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 7);

    std::string out;
    ogg_page page;
    auto writePage = [&] {
        out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
        out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
    };
    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    while (ogg_stream_flush(&stream, &page)) writePage();

    auto drain = [&] {
        ogg_packet packet;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) writePage();
            }
        }
    };
    constexpr int kChunk = 4096;
    for (int done = 0; done < frames; done += kChunk) {
        int n = std::min(kChunk, frames - done);
        float** buffer = vorbis_analysis_buffer(&dsp, n);
        for (int c = 0; c < channels; ++c) {
            double frequency = c == 0 ? 440.0 : 660.0;
            for (int i = 0; i < n; ++i) buffer[c][i] = 0.5f * std::sin(2.0 * M_PI * frequency * (done + i) / rate);
        }
        vorbis_analysis_wrote(&dsp, n);
        drain();
    }
    vorbis_analysis_wrote(&dsp, 0);
    drain();
    while (ogg_stream_flush(&stream, &page)) writePage();

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return out;
}

struct OggCase {
    const char* name;
    int channels, rate, frames;
};

void PrintTo(const OggCase& c, std::ostream* out) { *out << c.name; }

class OggLoading : public ::testing::TestWithParam<OggCase> {};

// Through the host, which must take "*.OGG" for Ogg; the long stream grows the block many times.
TEST_P(OggLoading, DecodesTheWholeStream) {
    const OggCase& c = GetParam();
    std::string bytes = EncodeOgg(c.channels, c.rate, c.frames);
    ASSERT_FALSE(bytes.empty());
    std::string path = WriteFile(std::string(c.name) + ".OGG", bytes);
    long long before = gc_ext_new_bytes.load();
    int length = 0, channels = 0, format = 0, hertz = 0;
    auto* block = reinterpret_cast<short*>(Host().LoadAudioData(String(path.c_str()), &length, &channels, &format, &hertz));
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(length, c.frames);
    EXPECT_EQ(channels, c.channels);
    EXPECT_EQ(format, 2);
    EXPECT_EQ(hertz, c.rate);
    EXPECT_EQ(gc_ext_new_bytes.load() - before, static_cast<long long>(length) * channels * 2);
    // The tone comes back: the first channel crosses zero about 880 times a second.
    int crossings = 0;
    for (int i = 1; i < length; ++i) crossings += (block[(i - 1) * channels] < 0) != (block[i * channels] < 0);
    EXPECT_NEAR(crossings * static_cast<double>(c.rate) / length, 880.0, 30.0);
    std::free(block);
}

INSTANTIATE_TEST_SUITE_P(Streams, OggLoading,
                         ::testing::Values(OggCase{"ShortMono", 1, 22050, 3000},
                                           OggCase{"LongStereo", 2, 44100, 5 * 44100}),
                         [](const auto& info) { return std::string(info.param.name); });

// Where the comment header's body starts: after the first page, and the second page's header.
size_t CommentBody(const std::string& ogg) {
    auto at = [&](size_t i) { return static_cast<unsigned char>(ogg[i]); };
    size_t page2 = 27 + at(26);
    for (int i = 0; i < at(26); ++i) page2 += at(27 + static_cast<size_t>(i));
    return page2 + 27 + at(page2 + 26);
}

std::string Patched(std::string bytes, size_t at, uint32_t value) {
    return bytes.replace(at, 4, Le32(value));
}

TEST(OggReader, DamagedAndHostileStreamsGiveNothing) {
    std::string good = EncodeOgg(2, 44100, 20000);
    std::string corrupt = good;
    for (size_t i = 0; i < 200 && i < corrupt.size(); ++i) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5a);
    // The comment header's sizes, each made larger than the packet: the decoder would try to
    // allocate them, and crashes when that fails.
    size_t vendorAt = CommentBody(good) + 7;
    uint32_t vendor = static_cast<unsigned char>(good[vendorAt]);
    size_t countAt = vendorAt + 4 + vendor;
    ASSERT_EQ(good.compare(vendorAt + 4, 8, "Xiph.Org"), 0);
    for (const std::string& bytes : {good.substr(0, 40), corrupt, std::string(5000, 'x'),
                                     Patched(good, vendorAt, 0x40000000), Patched(good, vendorAt, 0xffffffffu),
                                     Patched(good, countAt, 0x10000000)}) {
        FILE* file = fmemopen(const_cast<char*>(bytes.data()), bytes.size(), "rb");
        ASSERT_NE(file, nullptr);
        int length = 0, channels = 0, format = 0, hertz = 0;
        EXPECT_EQ(LoadOGG(file, &length, &channels, &format, &hertz), nullptr);
        std::fclose(file);
    }
}

}  // namespace
