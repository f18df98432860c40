// A sound held by OpenAL as one buffer, and the queue of buffers waiting to be deleted.
#pragma once

#include <vector>

#include "framework/app/object.h"

class gxtkSample : public Object {
public:
    gxtkSample() = default;
    explicit gxtkSample(unsigned buffer) : m_buffer(buffer) {}
    ~gxtkSample() override;

    // Takes a new buffer; the one held before is discarded.
    void SetBuffer(unsigned buffer);
    // Gives the buffer up. It is only queued: a source may still be playing it.
    virtual void Discard();

    unsigned m_buffer = 0;

    // Buffers given up by their samples, deleted by gxtkAudio::FlushDiscarded once no
    // source holds them.
    static std::vector<unsigned> discarded;

private:
    void Release();
};
