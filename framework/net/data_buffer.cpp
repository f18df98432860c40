// VoDataBuffer storage and c_DataBuffer's byte and string access.
#include "framework/net/data_buffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "framework/app/error.h"
#include "framework/app/host.h"

namespace {

enum class Encoding { Utf8, Ascii };

Encoding ParseEncoding(const String& name) {
    if (name == String("utf8")) return Encoding::Utf8;
    if (name == String("ascii")) return Encoding::Ascii;
    voError(String("Invalid string encoding:") + name);
}

// Text that is not valid UTF-8 becomes one character per byte, so that no byte is ever lost.
String DecodeUtf8(const unsigned char* p, int n) {
    std::u16string units;
    if (!vo_utf8_to_utf16(p, static_cast<size_t>(n), units)) return String::FromBytes(p, n);
    return String(std::move(units));
}

// Cuts count so that [offset, offset + count) lies inside a block of length bytes;
// 0 when offset is outside it.
int CutCount(int offset, int count, int length) {
    if (offset < 0 || offset >= length || count <= 0) return 0;
    return std::min(count, length - offset);
}

}  // namespace

VoDataBuffer::~VoDataBuffer() { Discard(); }

bool VoDataBuffer::_New(int length) {
    if (m_bytes || length < 0) return false;
    if (length == 0) return true;
    m_bytes = static_cast<unsigned char*>(std::calloc(static_cast<size_t>(length), 1));
    if (!m_bytes) return false;
    m_length = length;
    return true;
}

void VoDataBuffer::_Adopt(unsigned char* bytes, int length) {
    Discard();
    m_bytes = bytes;
    m_length = bytes ? length : 0;
}

void VoDataBuffer::Discard() {
    std::free(m_bytes);
    m_bytes = nullptr;
    m_length = 0;
}

c_DataBuffer* c_DataBuffer::m_new(int length) {
    if (!_New(length)) voError(String("Allocate DataBuffer failed"));
    return this;
}

Ref<c_DataBuffer> c_DataBuffer::m_Load(String location) {
    if (!VoGame::_game) return nullptr;
    int length = 0;
    unsigned char* bytes = VoGame::_game->LoadData(location, &length);
    if (!bytes) return nullptr;
    Ref<c_DataBuffer> buffer = New<c_DataBuffer>();
    buffer->_Adopt(bytes, length);
    return buffer;
}

int c_DataBuffer::p_PokeString(int offset, String text, String encoding) {
    std::string bytes = ParseEncoding(encoding) == Encoding::Utf8 ? text.ToUtf8() : text.ToNarrow();
    int size = static_cast<int>(bytes.size());
    int fit = CutCount(offset, size, m_length);
    if (fit > 0) std::memcpy(m_bytes + offset, bytes.data(), static_cast<size_t>(fit));
    return size;
}

String c_DataBuffer::p_PeekString(int offset, int count, String encoding) {
    Encoding kind = ParseEncoding(encoding);
    count = CutCount(offset, count, m_length);
    if (count == 0) return String();
    if (kind == Encoding::Ascii) return String::FromBytes(m_bytes + offset, count);
    return DecodeUtf8(m_bytes + offset, count);
}

String c_DataBuffer::p_PeekString2(int offset, String encoding) {
    return p_PeekString(offset, m_length - offset, encoding);
}

void c_DataBuffer::p_PokeBytes(int offset, Array<int> array, int arrayOffset, int count) {
    count = CutCount(arrayOffset, CutCount(offset, count, m_length), array.Length());
    for (int i = 0; i < count; ++i) m_bytes[offset + i] = static_cast<unsigned char>(array[arrayOffset + i]);
}

void c_DataBuffer::p_PeekBytes(int offset, Array<int> array, int arrayOffset, int count) {
    count = CutCount(arrayOffset, CutCount(offset, count, m_length), array.Length());
    for (int i = 0; i < count; ++i) array[arrayOffset + i] = static_cast<signed char>(m_bytes[offset + i]);
}

Array<int> c_DataBuffer::p_PeekBytes2(int offset, int count) {
    count = CutCount(offset, count, m_length);
    Array<int> bytes(count);
    p_PeekBytes(offset, bytes, 0, count);
    return bytes;
}

void c_DataBuffer::p_CopyBytes(int offset, c_DataBuffer* dst, int dstOffset, int count) {
    if (!dst) return;
    count = CutCount(dstOffset, CutCount(offset, count, m_length), dst->m_length);
    // memmove copies backwards when the ranges overlap with the source first.
    if (count > 0) std::memmove(dst->m_bytes + dstOffset, m_bytes + offset, static_cast<size_t>(count));
}
