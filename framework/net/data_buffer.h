// Byte buffers that sockets read from and write to, with string encoding and decoding.
#pragma once

#include "framework/app/array.h"
#include "framework/app/object.h"
#include "framework/app/string.h"

// A block of bytes owned by the object; every access is cut to the block.
class VoDataBuffer : public Object {
public:
    ~VoDataBuffer() override;

    // Allocates length zeroed bytes; false when the buffer already holds bytes or the
    // allocation fails.
    bool _New(int length);
    // Takes over bytes allocated with malloc.
    void _Adopt(unsigned char* bytes, int length);
    void Discard();

    int Length() const { return m_length; }

    unsigned char* m_bytes = nullptr;
    int m_length = 0;
};

class c_DataBuffer : public VoDataBuffer {
public:
    c_DataBuffer* m_new(int length);
    // The whole file at location, or null when it cannot be read.
    static Ref<c_DataBuffer> m_Load(String location);

    // Returns the size of the encoded text; only the bytes that fit are written.
    int p_PokeString(int offset, String text, String encoding);
    String p_PeekString(int offset, int count, String encoding);
    String p_PeekString2(int offset, String encoding);

    void p_PokeBytes(int offset, Array<int> array, int arrayOffset, int count);
    void p_PeekBytes(int offset, Array<int> array, int arrayOffset, int count);
    // A new array of the count bytes from offset (cut to the end).
    Array<int> p_PeekBytes2(int offset, int count);
    void p_CopyBytes(int offset, c_DataBuffer* dst, int dstOffset, int count);
};
