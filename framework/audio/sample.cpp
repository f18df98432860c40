// gxtkSample: the buffer it owns and the deferred release of that buffer.
#include "framework/audio/sample.h"

#include "framework/audio/audio_device.h"

std::vector<unsigned> gxtkSample::discarded;

gxtkSample::~gxtkSample() { Release(); }

void gxtkSample::SetBuffer(unsigned buffer) {
    Release();
    m_buffer = buffer;
}

void gxtkSample::Discard() { Release(); }

void gxtkSample::Release() {
    if (m_buffer == 0) return;
    // Once the device is closed its buffers are gone with it; the name means nothing now.
    if (gxtkAudio::audio) discarded.push_back(m_buffer);
    m_buffer = 0;
}
