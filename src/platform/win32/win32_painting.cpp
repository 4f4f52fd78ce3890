// Painting of the graphic controls (labels, images, bevels) in the order of
// their parent's children, and of the owner-drawn speed buttons.
#include "platform/win32/win32_form_host.h"

namespace brindlock {
namespace {

COLORREF ToColorRef(uint32_t bgr) { return static_cast<COLORREF>(bgr & 0x00FFFFFF); }

void DrawPicture(HDC dc, const TBitmap& picture, int x, int y, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = picture.Width;
    info.bmiHeader.biHeight = -picture.Height;  // top-down, like TBitmap
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    // TBitmap's 0x00RRGGBB words are exactly a 32-bit DIB's pixels.
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, x, y, width, height, 0, 0, picture.Width, picture.Height, picture.Pixels.data(), &info,
                  DIB_RGB_COLORS, SRCCOPY);
}

}  // namespace

void Win32FormHost::PaintWindow(HWND window, const TControl& owner) {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    // Into a memory bitmap first, so the background never flickers through.
    HDC dc = CreateCompatibleDC(target);
    HBITMAP buffer = CreateCompatibleBitmap(target, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(dc, buffer);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    PaintGraphics(dc, owner);
    if (auto* panel = dynamic_cast<const TPanel*>(&owner)) {
        if (panel->BevelOuter == TPanelBevel::Lowered) DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT);
        if (panel->BevelOuter == TPanelBevel::Raised) DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
    }
    BitBlt(target, paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right - paint.rcPaint.left,
           paint.rcPaint.bottom - paint.rcPaint.top, dc, paint.rcPaint.left, paint.rcPaint.top, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(buffer);
    DeleteDC(dc);
    EndPaint(window, &paint);
}

void Win32FormHost::PaintGraphics(HDC dc, const TControl& parent) {
    for (const TControl* child : parent.Children()) {
        if (!child->Visible() || WindowOf(child)) continue;
        if (auto* label = dynamic_cast<const TLabel*>(child)) PaintLabel(dc, *label);
        else if (auto* image = dynamic_cast<const TImage*>(child)) PaintImage(dc, *image);
        else if (auto* bevel = dynamic_cast<const TBevel*>(child)) PaintBevel(dc, *bevel);
    }
}

void Win32FormHost::PaintLabel(HDC dc, const TLabel& label) {
    RECT r = LabelRect(dc, label);
    if (!label.Transparent) FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, FontFor(label.Font()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, label.Enabled() ? ToColorRef(label.Font().Color) : GetSysColor(COLOR_GRAYTEXT));
    UINT format = DT_NOPREFIX;
    format |= label.WordWrap ? DT_WORDBREAK : DT_SINGLELINE;
    if (label.Alignment == TAlignment::Center) format |= DT_CENTER;
    // Paths in the progress panel may be longer than the line.
    if (!label.AutoSize && !label.WordWrap) format |= DT_PATH_ELLIPSIS;
    DrawTextA(dc, label.Caption().c_str(), -1, &r, format);
    SelectObject(dc, oldFont);
}

void Win32FormHost::PaintImage(HDC dc, const TImage& image) {
    const RECT r = BoundsOf(image);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    if (const TBitmap* picture = image.Picture(); picture && picture->Width > 0 && picture->Height > 0) {
        DrawPicture(dc, *picture, r.left, r.top, Scale(picture->Width), Scale(picture->Height));
    } else if (image.IconId >= 0) {
        const int size = Scale(32);
        if (HICON icon = pictures_.Icon(image.IconId, size))
            DrawIconEx(dc, r.left + (r.right - r.left - size) / 2, r.top + (r.bottom - r.top - size) / 2, icon, size, size,
                       0, nullptr, DI_NORMAL);
    }
    RestoreDC(dc, saved);
}

void Win32FormHost::PaintBevel(HDC dc, const TBevel& bevel) {
    // A line along the top edge: shadow over highlight.
    RECT r = BoundsOf(bevel);
    r.bottom = r.top + 2;
    DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
}

void Win32FormHost::DrawButton(const DRAWITEMSTRUCT& item) {
    auto it = windows_.end();
    for (auto i = windows_.begin(); i != windows_.end(); ++i)
        if (i->second.window == item.hwndItem) it = i;
    if (it == windows_.end()) return;
    const auto* button = dynamic_cast<const TSpeedButton*>(it->first);
    if (!button) return;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const RECT r = item.rcItem;
    const int width = r.right - r.left, height = r.bottom - r.top;

    HDC dc = CreateCompatibleDC(item.hDC);
    HBITMAP buffer = CreateCompatibleBitmap(item.hDC, width, height);
    HGDIOBJ oldBitmap = SelectObject(dc, buffer);
    RECT face{0, 0, width, height};
    if (button->Flat) {
        // A flat button shows what lies under it: paint its parent's graphic
        // controls shifted to the button's place.
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
        RECT place{};
        GetWindowRect(item.hwndItem, &place);
        MapWindowPoints(HWND_DESKTOP, GetParent(item.hwndItem), reinterpret_cast<POINT*>(&place), 2);
        POINT oldOrigin;
        SetViewportOrgEx(dc, -place.left, -place.top, &oldOrigin);
        if (button->Parent()) PaintGraphics(dc, *button->Parent());
        SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
        if (pressed) DrawEdge(dc, &face, BDR_SUNKENOUTER, BF_RECT);
        else if (it->second.hot && !disabled) DrawEdge(dc, &face, BDR_RAISEDINNER, BF_RECT);
    } else {
        FillRect(dc, &face, GetSysColorBrush(COLOR_BTNFACE));
        DrawEdge(dc, &face, pressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }

    const int shift = pressed ? 1 : 0;
    HGDIOBJ oldFont = SelectObject(dc, FontFor(button->Font()));
    RECT text{0, 0, 0, 0};
    const std::string& caption = button->Caption();
    if (!caption.empty()) DrawTextA(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
    const int textHeight = caption.empty() ? 0 : text.bottom - text.top;
    const int glyphSize = Scale(button->GlyphAboveText ? 32 : 24);
    HICON glyph = button->GlyphId >= 0 ? pictures_.Icon(button->GlyphId, glyphSize) : nullptr;
    const int spacing = glyph && textHeight ? Scale(4) : 0;
    const int contentHeight = (glyph ? glyphSize : 0) + spacing + textHeight;
    int y = (height - contentHeight) / 2 + shift;
    if (glyph) {
        const int x = (width - glyphSize) / 2 + shift;
        if (disabled) DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph), 0, x, y, glyphSize, glyphSize, DST_ICON | DSS_DISABLED);
        else DrawIconEx(dc, x, y, glyph, glyphSize, glyphSize, 0, nullptr, DI_NORMAL);
        y += glyphSize + spacing;
    }
    if (textHeight) {
        RECT line{shift, y, width + shift, y + textHeight};
        SetBkMode(dc, TRANSPARENT);
        if (disabled) {
            // Engraved, as disabled text of a button face looks.
            RECT light = line;
            OffsetRect(&light, 1, 1);
            SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
            DrawTextA(dc, caption.c_str(), -1, &light, DT_CENTER | DT_SINGLELINE);
            SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        } else {
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
        }
        DrawTextA(dc, caption.c_str(), -1, &line, DT_CENTER | DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = face;
        InflateRect(&focus, -Scale(3), -Scale(3));
        DrawFocusRect(dc, &focus);
    }
    BitBlt(item.hDC, r.left, r.top, width, height, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldBitmap);
    DeleteObject(buffer);
    DeleteDC(dc);
}

}  // namespace brindlock
