// The renderer's only way to OpenGL: a thin table of the fixed-function calls it makes, so that
// tests can count and inspect them, or stand in for a driver with its own limits.
#pragma once

// The OpenGL enumerants the framework uses, with the values of the OpenGL headers.
namespace vo_gl {
constexpr unsigned NO_ERROR = 0, INVALID_VALUE = 0x0501;
constexpr unsigned POINTS = 0x0000, LINES = 0x0001, TRIANGLES = 0x0004, TRIANGLE_FAN = 0x0006;
constexpr unsigned ONE = 1, ONE_MINUS_SRC_ALPHA = 0x0303;
constexpr unsigned BLEND = 0x0BE2, SCISSOR_TEST = 0x0C11, TEXTURE_2D = 0x0DE1;
constexpr unsigned VERTEX_ARRAY = 0x8074, COLOR_ARRAY = 0x8076, TEXTURE_COORD_ARRAY = 0x8078;
constexpr unsigned MODELVIEW = 0x1700, PROJECTION = 0x1701;
constexpr unsigned UNSIGNED_BYTE = 0x1401, UNSIGNED_SHORT = 0x1403, FLOAT = 0x1406;
constexpr unsigned LUMINANCE = 0x1909, LUMINANCE_ALPHA = 0x190A, RGB = 0x1907, RGBA = 0x1908, BGRA = 0x80E1;
constexpr unsigned TEXTURE_MAG_FILTER = 0x2800, TEXTURE_MIN_FILTER = 0x2801;
constexpr unsigned TEXTURE_WRAP_S = 0x2802, TEXTURE_WRAP_T = 0x2803;
constexpr unsigned NEAREST = 0x2600, CLAMP_TO_EDGE = 0x812F;
constexpr unsigned UNPACK_ALIGNMENT = 0x0CF5, COLOR_BUFFER_BIT = 0x4000;
constexpr unsigned MAX_TEXTURE_SIZE = 0x0D33;
}  // namespace vo_gl

// Each method makes the OpenGL call of the same name on the current context. Subclasses
// override to observe; calling the base method passes the call on to the driver.
class VoGl {
public:
    virtual ~VoGl() = default;

    // The table in use; never null.
    static VoGl& Current() { return *s_current; }
    // Puts a table in place of the driver's; null restores the driver's.
    static void Install(VoGl* gl);

    virtual void Viewport(int x, int y, int width, int height);
    virtual void MatrixMode(unsigned mode);
    virtual void LoadIdentity();
    virtual void Ortho(double left, double right, double bottom, double top, double zNear, double zFar);
    virtual void EnableClientState(unsigned array);
    virtual void VertexPointer(int size, unsigned type, int stride, const void* pointer);
    virtual void TexCoordPointer(int size, unsigned type, int stride, const void* pointer);
    virtual void ColorPointer(int size, unsigned type, int stride, const void* pointer);
    virtual void Enable(unsigned cap);
    virtual void Disable(unsigned cap);
    virtual void BlendFunc(unsigned sfactor, unsigned dfactor);
    virtual void Scissor(int x, int y, int width, int height);
    virtual void ClearColor(float red, float green, float blue, float alpha);
    virtual void Clear(unsigned mask);
    virtual void DrawArrays(unsigned mode, int first, int count);
    virtual void DrawElements(unsigned mode, int count, unsigned type, const void* indices);
    virtual void ReadPixels(int x, int y, int width, int height, unsigned format, unsigned type, void* pixels);
    virtual void GenTextures(int n, unsigned* textures);
    virtual void DeleteTextures(int n, const unsigned* textures);
    virtual void BindTexture(unsigned target, unsigned texture);
    virtual void TexParameteri(unsigned target, unsigned name, int value);
    virtual void TexImage2D(unsigned target, int level, int internalFormat, int width, int height, int border,
                            unsigned format, unsigned type, const void* pixels);
    virtual void TexSubImage2D(unsigned target, int level, int x, int y, int width, int height, unsigned format,
                               unsigned type, const void* pixels);
    virtual void PixelStorei(unsigned name, int value);
    virtual unsigned GetError();
    virtual void GetIntegerv(unsigned name, int* values);

private:
    static VoGl* s_current;
};
