// An OpenGL table for tests: records every call with its arguments, optionally passes it on to
// a real context, and can act as a driver that refuses texture sizes other than powers of two.
#pragma once

#include <string>
#include <vector>

#include "framework/graphics/gl.h"

class RecordingGl : public VoGl {
public:
    struct Call {
        std::string name;
        std::vector<double> args;
    };

    bool forward = false;     // pass calls on to the driver; needs a current context
    bool refuseNpot = false;  // raise INVALID_VALUE for a texture size that is not a power of two
    int maxTextureSize = 0;   // the texture limit reported; 0 asks the driver when forwarding
    std::vector<Call> calls;

    RecordingGl() { VoGl::Install(this); }
    ~RecordingGl() override { VoGl::Install(nullptr); }

    std::vector<Call> Of(const std::string& name) const {
        std::vector<Call> found;
        for (const Call& call : calls)
            if (call.name == name) found.push_back(call);
        return found;
    }
    int Count(const std::string& name) const { return static_cast<int>(Of(name).size()); }
    int Draws() const { return Count("DrawArrays") + Count("DrawElements"); }
    void Clear() { calls.clear(); }

    using D = double;
    void Viewport(int x, int y, int w, int h) override { if (Log("Viewport", x, y, w, h)) VoGl::Viewport(x, y, w, h); }
    void MatrixMode(unsigned m) override { if (Log("MatrixMode", m)) VoGl::MatrixMode(m); }
    void LoadIdentity() override { if (Log("LoadIdentity")) VoGl::LoadIdentity(); }
    void Ortho(D l, D r, D b, D t, D n, D f) override { if (Log("Ortho", l, r, b, t, n, f)) VoGl::Ortho(l, r, b, t, n, f); }
    void EnableClientState(unsigned a) override { if (Log("EnableClientState", a)) VoGl::EnableClientState(a); }
    void VertexPointer(int n, unsigned t, int s, const void* p) override {
        if (Log("VertexPointer", n, t, s)) VoGl::VertexPointer(n, t, s, p);
    }
    void TexCoordPointer(int n, unsigned t, int s, const void* p) override {
        if (Log("TexCoordPointer", n, t, s)) VoGl::TexCoordPointer(n, t, s, p);
    }
    void ColorPointer(int n, unsigned t, int s, const void* p) override {
        if (Log("ColorPointer", n, t, s)) VoGl::ColorPointer(n, t, s, p);
    }
    void Enable(unsigned c) override { if (Log("Enable", c)) VoGl::Enable(c); }
    void Disable(unsigned c) override { if (Log("Disable", c)) VoGl::Disable(c); }
    void BlendFunc(unsigned s, unsigned d) override { if (Log("BlendFunc", s, d)) VoGl::BlendFunc(s, d); }
    void Scissor(int x, int y, int w, int h) override { if (Log("Scissor", x, y, w, h)) VoGl::Scissor(x, y, w, h); }
    void ClearColor(float r, float g, float b, float a) override { if (Log("ClearColor", r, g, b, a)) VoGl::ClearColor(r, g, b, a); }
    void Clear(unsigned mask) override { if (Log("Clear", mask)) VoGl::Clear(mask); }
    void DrawArrays(unsigned m, int first, int n) override { if (Log("DrawArrays", m, first, n)) VoGl::DrawArrays(m, first, n); }
    void DrawElements(unsigned m, int n, unsigned t, const void* i) override {
        if (Log("DrawElements", m, n, t)) VoGl::DrawElements(m, n, t, i);
    }
    void ReadPixels(int x, int y, int w, int h, unsigned f, unsigned t, void* p) override {
        if (Log("ReadPixels", x, y, w, h, f, t)) VoGl::ReadPixels(x, y, w, h, f, t, p);
    }
    void GenTextures(int n, unsigned* names) override {
        if (Log("GenTextures", n)) return VoGl::GenTextures(n, names);
        for (int i = 0; i < n; ++i) names[i] = ++m_lastTexture;
    }
    void DeleteTextures(int n, const unsigned* names) override {
        if (Log("DeleteTextures", n, names[0])) VoGl::DeleteTextures(n, names);
    }
    void BindTexture(unsigned t, unsigned name) override { if (Log("BindTexture", t, name)) VoGl::BindTexture(t, name); }
    void TexParameteri(unsigned t, unsigned n, int v) override { if (Log("TexParameteri", t, n, v)) VoGl::TexParameteri(t, n, v); }
    void TexImage2D(unsigned t, int l, int in, int w, int h, int b, unsigned f, unsigned ty, const void* p) override {
        bool pass = Log("TexImage2D", in, w, h, f);
        if (refuseNpot && (!PowerOfTwo(w) || !PowerOfTwo(h))) {
            m_pendingError = vo_gl::INVALID_VALUE;
        } else if (pass) {
            VoGl::TexImage2D(t, l, in, w, h, b, f, ty, p);
        }
    }
    void TexSubImage2D(unsigned t, int l, int x, int y, int w, int h, unsigned f, unsigned ty, const void* p) override {
        if (Log("TexSubImage2D", x, y, w, h, f)) VoGl::TexSubImage2D(t, l, x, y, w, h, f, ty, p);
    }
    void PixelStorei(unsigned n, int v) override { if (Log("PixelStorei", n, v)) VoGl::PixelStorei(n, v); }
    unsigned GetError() override {
        unsigned error = m_pendingError;
        m_pendingError = vo_gl::NO_ERROR;
        if (error != vo_gl::NO_ERROR) return error;
        return forward ? VoGl::GetError() : vo_gl::NO_ERROR;
    }

    // A query, not a drawing call: not recorded.
    void GetIntegerv(unsigned name, int* values) override {
        if (name == vo_gl::MAX_TEXTURE_SIZE && maxTextureSize > 0) {
            values[0] = maxTextureSize;
        } else if (forward) {
            VoGl::GetIntegerv(name, values);
        }
    }

private:
    static bool PowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }
    // Records the call; true when it is to reach the driver.
    template <class... Args>
    bool Log(const char* name, Args... args) {
        calls.push_back({name, {static_cast<double>(args)...}});
        return forward;
    }

    unsigned m_lastTexture = 0;
    unsigned m_pendingError = vo_gl::NO_ERROR;
};
