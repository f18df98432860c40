// Walks the first two Ogg packets exactly as the decoder reads them (segment by segment,
// pages joined only when marked as continued) and checks each size in the comment header
// against the bytes that really follow. Stricter than the decoder wherever the two could
// disagree: any read past the end of the file or any page without segments fails.
#include "framework/audio/ogg_comments.h"

#include <cstdint>
#include <cstring>

namespace {

class PacketReader {
public:
    explicit PacketReader(FILE* file) : m_file(file) {}

    // Reads a page header and its segment table.
    bool StartPage() {
        unsigned char header[27];
        if (std::fread(header, 1, sizeof header, m_file) != sizeof header) return false;
        if (std::memcmp(header, "OggS", 4) != 0 || header[4] != 0) return false;
        m_flags = header[5];
        m_count = header[26];
        m_next = 0;
        return m_count > 0 && std::fread(m_segments, 1, static_cast<size_t>(m_count), m_file) ==
                                  static_cast<size_t>(m_count);
    }

    // Passes over the body of the page just started.
    bool SkipBody() {
        uint32_t size = 0;
        for (int i = 0; i < m_count; ++i) size += m_segments[i];
        return Read(size);
    }

    // Starts the packet that begins the page just started.
    void StartPacket() {
        m_left = 0;
        m_last = false;
    }

    bool U8(int* value) {
        unsigned char byte = 0;
        if (!Take(&byte, 1)) return false;
        *value = byte;
        return true;
    }

    bool U32(uint32_t* value) {
        unsigned char b[4];
        if (!Take(b, 4)) return false;
        *value = static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) |
                 (static_cast<uint32_t>(b[2]) << 16) | (static_cast<uint32_t>(b[3]) << 24);
        return true;
    }

    // Passes over n bytes of the packet.
    bool Skip(uint32_t n) { return Take(nullptr, n); }

private:
    bool NextSegment() {
        if (m_last) return false;
        if (m_next == m_count && (!StartPage() || !(m_flags & kContinued))) return false;
        m_left = m_segments[m_next++];
        m_last = m_left < 255;
        return true;
    }

    // n bytes of the packet, copied to out when it is given.
    bool Take(unsigned char* out, uint32_t n) {
        while (n > 0) {
            if (m_left == 0) {
                if (!NextSegment()) return false;
                continue;
            }
            uint32_t part = n < static_cast<uint32_t>(m_left) ? n : static_cast<uint32_t>(m_left);
            if (out) {
                if (std::fread(out, 1, part, m_file) != part) return false;
                out += part;
            } else if (!Read(part)) {
                return false;
            }
            m_left -= static_cast<int>(part);
            n -= part;
        }
        return true;
    }

    // Reads and drops n bytes of the file.
    bool Read(uint32_t n) {
        unsigned char scratch[512];
        while (n > 0) {
            size_t part = n < sizeof scratch ? n : sizeof scratch;
            if (std::fread(scratch, 1, part, m_file) != part) return false;
            n -= static_cast<uint32_t>(part);
        }
        return true;
    }

    static constexpr int kContinued = 1;
    FILE* m_file;
    unsigned char m_segments[255];
    int m_count = 0, m_next = 0, m_flags = 0;
    int m_left = 0;       // bytes left in the current segment
    bool m_last = false;  // the current segment ends the packet
};

// The decoder adds one to each length, so a length must stay below the int limit.
constexpr uint32_t kMaxLength = 0x7ffffffe;

bool CheckComments(FILE* file) {
    PacketReader reader(file);
    if (!reader.StartPage() || !reader.SkipBody() || !reader.StartPage()) return false;
    reader.StartPacket();
    int type = 0;
    uint32_t vendor = 0, count = 0;
    if (!reader.U8(&type) || type != 3 || !reader.Skip(6)) return false;
    if (!reader.U32(&vendor) || vendor > kMaxLength || !reader.Skip(vendor)) return false;
    if (!reader.U32(&count) || count > kMaxLength) return false;
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t length = 0;
        if (!reader.U32(&length) || length > kMaxLength || !reader.Skip(length)) return false;
    }
    return true;
}

}  // namespace

bool vo_ogg_CommentsFit(FILE* file) {
    long start = std::ftell(file);
    if (start < 0) return false;
    bool fits = CheckComments(file);
    return std::fseek(file, start, SEEK_SET) == 0 && fits;
}
