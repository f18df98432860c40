// VoGl on the system's OpenGL: the one file that includes the OpenGL headers.
#include "framework/graphics/gl.h"

#include <GL/gl.h>

static_assert(vo_gl::NO_ERROR == GL_NO_ERROR && vo_gl::INVALID_VALUE == GL_INVALID_VALUE);
static_assert(vo_gl::POINTS == GL_POINTS && vo_gl::LINES == GL_LINES && vo_gl::TRIANGLES == GL_TRIANGLES &&
              vo_gl::TRIANGLE_FAN == GL_TRIANGLE_FAN);
static_assert(vo_gl::ONE == GL_ONE && vo_gl::ONE_MINUS_SRC_ALPHA == GL_ONE_MINUS_SRC_ALPHA);
static_assert(vo_gl::BLEND == GL_BLEND && vo_gl::SCISSOR_TEST == GL_SCISSOR_TEST && vo_gl::TEXTURE_2D == GL_TEXTURE_2D);
static_assert(vo_gl::VERTEX_ARRAY == GL_VERTEX_ARRAY && vo_gl::COLOR_ARRAY == GL_COLOR_ARRAY &&
              vo_gl::TEXTURE_COORD_ARRAY == GL_TEXTURE_COORD_ARRAY);
static_assert(vo_gl::MODELVIEW == GL_MODELVIEW && vo_gl::PROJECTION == GL_PROJECTION);
static_assert(vo_gl::UNSIGNED_BYTE == GL_UNSIGNED_BYTE && vo_gl::UNSIGNED_SHORT == GL_UNSIGNED_SHORT &&
              vo_gl::FLOAT == GL_FLOAT);
static_assert(vo_gl::LUMINANCE == GL_LUMINANCE && vo_gl::LUMINANCE_ALPHA == GL_LUMINANCE_ALPHA &&
              vo_gl::RGB == GL_RGB && vo_gl::RGBA == GL_RGBA && vo_gl::BGRA == GL_BGRA);
static_assert(vo_gl::TEXTURE_MAG_FILTER == GL_TEXTURE_MAG_FILTER && vo_gl::TEXTURE_MIN_FILTER == GL_TEXTURE_MIN_FILTER &&
              vo_gl::TEXTURE_WRAP_S == GL_TEXTURE_WRAP_S && vo_gl::TEXTURE_WRAP_T == GL_TEXTURE_WRAP_T);
static_assert(vo_gl::NEAREST == GL_NEAREST && vo_gl::CLAMP_TO_EDGE == GL_CLAMP_TO_EDGE);
static_assert(vo_gl::UNPACK_ALIGNMENT == GL_UNPACK_ALIGNMENT && vo_gl::COLOR_BUFFER_BIT == GL_COLOR_BUFFER_BIT);

namespace {
VoGl g_driver;
}  // namespace

VoGl* VoGl::s_current = &g_driver;

void VoGl::Install(VoGl* gl) { s_current = gl ? gl : &g_driver; }

void VoGl::Viewport(int x, int y, int width, int height) { glViewport(x, y, width, height); }
void VoGl::MatrixMode(unsigned mode) { glMatrixMode(mode); }
void VoGl::LoadIdentity() { glLoadIdentity(); }
void VoGl::Ortho(double left, double right, double bottom, double top, double zNear, double zFar) {
    glOrtho(left, right, bottom, top, zNear, zFar);
}
void VoGl::EnableClientState(unsigned array) { glEnableClientState(array); }
void VoGl::VertexPointer(int size, unsigned type, int stride, const void* pointer) {
    glVertexPointer(size, type, stride, pointer);
}
void VoGl::TexCoordPointer(int size, unsigned type, int stride, const void* pointer) {
    glTexCoordPointer(size, type, stride, pointer);
}
void VoGl::ColorPointer(int size, unsigned type, int stride, const void* pointer) {
    glColorPointer(size, type, stride, pointer);
}
void VoGl::Enable(unsigned cap) { glEnable(cap); }
void VoGl::Disable(unsigned cap) { glDisable(cap); }
void VoGl::BlendFunc(unsigned sfactor, unsigned dfactor) { glBlendFunc(sfactor, dfactor); }
void VoGl::Scissor(int x, int y, int width, int height) { glScissor(x, y, width, height); }
void VoGl::ClearColor(float red, float green, float blue, float alpha) { glClearColor(red, green, blue, alpha); }
void VoGl::Clear(unsigned mask) { glClear(mask); }
void VoGl::DrawArrays(unsigned mode, int first, int count) { glDrawArrays(mode, first, count); }
void VoGl::DrawElements(unsigned mode, int count, unsigned type, const void* indices) {
    glDrawElements(mode, count, type, indices);
}
void VoGl::ReadPixels(int x, int y, int width, int height, unsigned format, unsigned type, void* pixels) {
    glReadPixels(x, y, width, height, format, type, pixels);
}
void VoGl::GenTextures(int n, unsigned* textures) { glGenTextures(n, textures); }
void VoGl::DeleteTextures(int n, const unsigned* textures) { glDeleteTextures(n, textures); }
void VoGl::BindTexture(unsigned target, unsigned texture) { glBindTexture(target, texture); }
void VoGl::TexParameteri(unsigned target, unsigned name, int value) { glTexParameteri(target, name, value); }
void VoGl::TexImage2D(unsigned target, int level, int internalFormat, int width, int height, int border,
                      unsigned format, unsigned type, const void* pixels) {
    glTexImage2D(target, level, internalFormat, width, height, border, format, type, pixels);
}
void VoGl::TexSubImage2D(unsigned target, int level, int x, int y, int width, int height, unsigned format,
                         unsigned type, const void* pixels) {
    glTexSubImage2D(target, level, x, y, width, height, format, type, pixels);
}
void VoGl::PixelStorei(unsigned name, int value) { glPixelStorei(name, value); }
unsigned VoGl::GetError() { return glGetError(); }
void VoGl::GetIntegerv(unsigned name, int* values) { glGetIntegerv(name, values); }
