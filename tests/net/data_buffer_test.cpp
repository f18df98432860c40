// Data buffers: the two string encodings, cut pokes and peeks, overlapping copies, loading.
#include <cstdlib>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "framework/app/host.h"
#include "framework/net/data_buffer.h"
#include "net_test_support.h"

namespace {

Ref<c_DataBuffer> Buffer(const std::string& bytes) {
    Ref<c_DataBuffer> buffer = New<c_DataBuffer>()->m_new(static_cast<int>(bytes.size()));
    for (size_t i = 0; i < bytes.size(); ++i) buffer->m_bytes[i] = static_cast<unsigned char>(bytes[i]);
    return buffer;
}

std::string Bytes(c_DataBuffer* buffer) {
    return std::string(reinterpret_cast<const char*>(buffer->m_bytes), static_cast<size_t>(buffer->Length()));
}

TEST(DataBuffer, StringEncodingsBothWays) {
    struct Case {
        const char* encoding;
        std::u16string text;
        std::string bytes;
    };
    const Case cases[] = {
        {"ascii", u"Hi\u00e9", "Hi\xe9"},
        {"utf8", u"a\u00e9\u07ff\u0800\u20ac", "a\xc3\xa9\xdf\xbf\xe0\xa0\x80\xe2\x82\xac"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.encoding);
        Ref<c_DataBuffer> buffer = Buffer(std::string(c.bytes.size(), '\0'));
        EXPECT_EQ(buffer->p_PokeString(0, String(c.text), String(c.encoding)), static_cast<int>(c.bytes.size()));
        EXPECT_EQ(Bytes(buffer.Get()), c.bytes);
        EXPECT_EQ(buffer->p_PeekString2(0, String(c.encoding)), String(c.text));
    }
    Ref<c_DataBuffer> buffer = Buffer(std::string(2, '\0'));
    buffer->p_PokeString(0, String(u"\u0141"), String("ascii"));  // the low byte only
    EXPECT_EQ(buffer->p_PeekString(0, 1, String("ascii")), String("A"));
    // Each unit of a surrogate pair is written on its own, in three bytes.
    EXPECT_EQ(buffer->p_PokeString(0, String(u"\U0001F600"), String("utf8")), 6);
}

TEST(DataBuffer, Utf8ReadFallsBackToOneCharacterPerByte) {
    // A stray continuation byte, sequences cut by the end, a lead without its continuation,
    // and a four-byte sequence each make the whole read one character per byte.
    for (const std::string input : {"ok\x80", "\xc3", "\xe2\x82", "\xc3(", "\xf0\x9f\x98\x80"}) {
        std::u16string expected;
        for (char c : input) expected.push_back(static_cast<unsigned char>(c));
        EXPECT_EQ(Buffer(input)->p_PeekString2(0, String("utf8")), String(expected)) << input;
    }
}

TEST(DataBuffer, PokesAndPeeksAreCutAtTheEnds) {
    Ref<c_DataBuffer> buffer = Buffer(std::string(4, '\0'));
    EXPECT_EQ(buffer->p_PokeString(2, String("wxyz"), String("ascii")), 4) << "the whole encoded size";
    EXPECT_EQ(buffer->p_PokeString(9, String("q"), String("ascii")), 1);
    EXPECT_EQ(buffer->p_PokeString(-1, String("q"), String("ascii")), 1);
    EXPECT_EQ(Bytes(buffer.Get()), std::string("\0\0wx", 4));
    EXPECT_EQ(buffer->p_PeekString(2, 100, String("ascii")), String("wx"));
    EXPECT_EQ(buffer->p_PeekString(-3, 2, String("ascii")), String());

    Array<int> values(3);
    values[0] = 0x141;
    values[1] = -2;
    values[2] = 7;
    buffer->p_PokeBytes(1, values, 0, 3);
    buffer->p_PokeBytes(3, values, 1, 5);  // cut by the buffer's end
    EXPECT_EQ(Bytes(buffer.Get()), std::string("\0\x41\xfe\xfe", 4));
    Array<int> read(3);
    buffer->p_PeekBytes(2, read, 1, 10);  // cut by both ends
    buffer->p_PeekBytes(0, read, -1, 2);  // outside the array: nothing
    EXPECT_EQ(read[0], 0);
    EXPECT_EQ(read[1], -2) << "bytes read as signed";
    EXPECT_EQ(read[2], -2);
    EXPECT_EQ(buffer->p_PeekBytes2(1, 50).Length(), 3);
    EXPECT_EQ(buffer->p_PeekBytes2(7, 2).Length(), 0);
}

TEST(DataBuffer, CopyBytesHandlesOverlapBothWays) {
    struct Case {
        int from, to, count;
        const char* expected;
    };
    const Case cases[] = {
        {0, 2, 4, "ababcdgh"},   // forwards over itself
        {2, 0, 4, "cdefefgh"},   // backwards over itself
        {5, 1, 10, "afghefgh"},  // cut by the source's end
        {1, 6, 10, "abcdefbc"},  // cut by the destination's end
        {-1, 0, 3, "abcdefgh"},  // outside: nothing
    };
    for (const Case& c : cases) {
        Ref<c_DataBuffer> buffer = Buffer("abcdefgh");
        buffer->p_CopyBytes(c.from, buffer.Get(), c.to, c.count);
        EXPECT_EQ(Bytes(buffer.Get()), c.expected) << c.from << " -> " << c.to;
    }
}

TEST(DataBuffer, LoadsAWholeFile) {
    struct ScopedHost {
        VoGame game;
        ~ScopedHost() { VoGame::_game = nullptr; }
    } host;
    char path[] = "/tmp/floeward_net_bufferXXXXXX";
    int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    std::string content(10000, 'q');
    ASSERT_EQ(write(fd, content.data(), content.size()), static_cast<ssize_t>(content.size()));
    close(fd);
    Ref<c_DataBuffer> loaded = c_DataBuffer::m_Load(String(path));
    unlink(path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(Bytes(loaded.Get()), content);
    EXPECT_FALSE(c_DataBuffer::m_Load(String("/nonexistent/floeward")));
    loaded->Discard();
    EXPECT_EQ(loaded->Length(), 0);
}

using DataBufferDeathTest = NetDeathTest;

TEST_F(DataBufferDeathTest, FatalErrors) {
    EXPECT_EXIT(
        {
            RedirectStdoutToStderr();
            Buffer("ab")->p_PeekString2(0, String("latin1"));
        },
        ::testing::ExitedWithCode(255), "Zembra Runtime Error : Invalid string encoding:latin1");
    EXPECT_EXIT(
        {
            RedirectStdoutToStderr();
            Buffer("ab")->m_new(4);
        },
        ::testing::ExitedWithCode(255), "Allocate DataBuffer failed");
}

}  // namespace
