#include "platform/win32/win32_pictures.h"

namespace brindlock {

Win32Pictures::~Win32Pictures() { Clear(); }

void Win32Pictures::Clear() {
    for (auto& [key, icon] : icons_)
        if (icon) DestroyIcon(icon);
    for (auto& [key, bitmap] : menuBitmaps_)
        if (bitmap) DeleteObject(bitmap);
    icons_.clear();
    menuBitmaps_.clear();
}

HICON Win32Pictures::Icon(int id, int size) {
    auto [it, added] = icons_.try_emplace({id, size}, nullptr);
    if (added)
        it->second = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    return it->second;
}

HBITMAP Win32Pictures::MenuBitmap(int id, int size) {
    auto [it, added] = menuBitmaps_.try_emplace({id, size}, nullptr);
    if (!added) return it->second;
    HICON icon = Icon(id, size);
    if (!icon) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (!bitmap) return nullptr;
    // Menus blend 32-bit item bitmaps by their premultiplied alpha, which
    // is what DrawIconEx leaves in a zeroed DIB for an icon with alpha.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    DrawIconEx(dc, 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    SelectObject(dc, old);
    DeleteDC(dc);
    it->second = bitmap;
    return bitmap;
}

TBitmap Win32Pictures::Bitmap(int id) const {
    HBITMAP handle = static_cast<HBITMAP>(LoadImageA(instance_, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (!handle) return {};
    BITMAP info{};
    GetObjectA(handle, sizeof info, &info);
    TBitmap picture(info.bmWidth, info.bmHeight);
    BITMAPINFO request{};
    request.bmiHeader.biSize = sizeof request.bmiHeader;
    request.bmiHeader.biWidth = info.bmWidth;
    request.bmiHeader.biHeight = -info.bmHeight;  // rows from the top, like TBitmap
    request.bmiHeader.biPlanes = 1;
    request.bmiHeader.biBitCount = 32;
    request.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    const int rows = GetDIBits(screen, handle, 0, info.bmHeight, picture.Pixels.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    DeleteObject(handle);
    if (rows != info.bmHeight) return {};
    for (uint32_t& pixel : picture.Pixels) pixel &= 0x00FFFFFF;
    return picture;
}

}  // namespace brindlock
