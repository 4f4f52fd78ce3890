#include "platform/win32/win32_pictures.h"

namespace brindlock {

Win32Pictures::~Win32Pictures() { Clear(); }

void Win32Pictures::Clear() {
    for (auto& [key, icon] : icons_)
        if (icon) DestroyIcon(icon);
    icons_.clear();
}

HICON Win32Pictures::Icon(int id, int size) {
    auto [it, added] = icons_.try_emplace({id, size}, nullptr);
    if (added)
        it->second = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
    return it->second;
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
