// The graphics device as the factory of surfaces: loading, the decode step and empty surfaces.
#include "framework/app/host.h"
#include "framework/graphics/gl.h"
#include "framework/graphics/renderer.h"

Ref<gxtkSurface> gxtkGraphics::LoadSurface(String path) {
    Ref<gxtkSurface> surface = New<gxtkSurface>();
    if (!LoadSurface__UNSAFE__(surface.Get(), path)) return nullptr;
    // A picture read when it is first drawn gets its texture then.
    if (vo_surface_keepPictureBytes) surface->Bind();
    return surface;
}

bool gxtkGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, String path) {
    if (!VoGame::_game) return false;
    int width = 0, height = 0, depth = 0;
    if (vo_surface_keepPictureBytes) {
        unsigned char* data = VoGame::_game->LoadImageData(path, &width, &height, &depth);
        if (!data) return false;
        surface->SetData(data, width, height, depth);
    } else {
        // Only the size and the channels now; the bytes are read when the picture is first drawn.
        if (!VoGame::_game->LoadImageInfo(path, &width, &height, &depth)) return false;
        surface->SetData(nullptr, width, height, depth);
        surface->m_bytesGiven = true;
    }
    surface->m_path = VoGame::_game->PathToFilePath(path);
    surface->m_location = path;
    return true;
}

Ref<gxtkSurface> gxtkGraphics::CreateSurface(int width, int height) {
    Ref<gxtkSurface> surface = New<gxtkSurface>();
    surface->m_width = width;
    surface->m_height = height;
    surface->m_depth = 4;
    surface->m_format = vo_gl::RGBA;
    surface->Bind();
    return surface;
}
