#include "design/win32/win32_design.h"

#include <cmath>
#include <vector>

namespace velmora::win32 {

namespace {

// Functions of newer Windows versions, looked up once; null where missing.
struct NewerUser32 {
    UINT(WINAPI* getDpiForWindow)(HWND) = nullptr;
    BOOL(WINAPI* adjustWindowRectExForDpi)(RECT*, DWORD, BOOL, DWORD, UINT) = nullptr;
    int(WINAPI* getSystemMetricsForDpi)(int, UINT) = nullptr;

    NewerUser32() {
        const HMODULE user32 = GetModuleHandleW(L"user32.dll");
        if (!user32)
            return;
        load(user32, "GetDpiForWindow", getDpiForWindow);
        load(user32, "AdjustWindowRectExForDpi", adjustWindowRectExForDpi);
        load(user32, "GetSystemMetricsForDpi", getSystemMetricsForDpi);
    }

    template <typename Function>
    static void load(HMODULE module, const char* name, Function& function) {
        function =
            reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
};

const NewerUser32& newerUser32() {
    static const NewerUser32 functions;
    return functions;
}

// One device context for measuring text, kept for the program's life:
// fetching the screen's for each caption costs more than the measuring.
HDC measuringDc() {
    static const HDC dc = CreateCompatibleDC(nullptr);
    return dc;
}

int CALLBACK noteFound(const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM found) {
    *reinterpret_cast<bool*>(found) = true;
    return 0;
}

bool faceExists(const std::wstring& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    const HDC screen = GetDC(nullptr);
    EnumFontFamiliesExW(screen, &wanted, noteFound, reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, screen);
    return found;
}

}  // namespace

UINT SystemDpi() {
    const HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : design::StandardDpi;
}

UINT WindowDpi(HWND window) {
    if (const auto getDpiForWindow = newerUser32().getDpiForWindow; getDpiForWindow && window)
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    return SystemDpi();
}

int ScalePixels(int pixels, UINT dpi) {
    const int scaled = MulDiv(pixels, static_cast<int>(dpi), design::StandardDpi);
    return scaled < 1 ? 1 : scaled;
}

RECT WindowRectFor(RECT client, DWORD style, DWORD exStyle, UINT dpi) {
    if (const auto adjust = newerUser32().adjustWindowRectExForDpi)
        adjust(&client, style, FALSE, exStyle, dpi);
    else
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
    return client;
}

int SystemMetric(int index, UINT dpi) {
    if (const auto metric = newerUser32().getSystemMetricsForDpi)
        return metric(index, dpi);
    return GetSystemMetrics(index);
}

HFONT CreateDesignFont(const design::FontDesign& font, UINT dpi, BYTE family) {
    std::wstring face = Widen(font.faces[0]);
    // Only where the design names a second choice is the first looked for.
    if (!font.faces[1].empty() && !faceExists(face))
        face = Widen(font.faces[1]);
    LOGFONTW design{};
    design.lfHeight = -static_cast<LONG>(std::lround(font.pointSize * dpi / 72.0));
    design.lfWeight = FW_NORMAL;
    design.lfCharSet = DEFAULT_CHARSET;
    design.lfOutPrecision = OUT_DEFAULT_PRECIS;
    design.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    design.lfQuality = DEFAULT_QUALITY;
    design.lfPitchAndFamily = static_cast<BYTE>(VARIABLE_PITCH | family);
    face.copy(design.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&design);
}

SIZE TextExtent(HFONT font, std::wstring_view text) {
    SIZE size{};
    const HDC dc = measuringDc();
    const HGDIOBJ old = SelectObject(dc, font);
    GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    return size;
}

TEXTMETRICW TextMetrics(HFONT font) {
    TEXTMETRICW metrics{};
    const HDC dc = measuringDc();
    const HGDIOBJ old = SelectObject(dc, font);
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    return metrics;
}

LONG CondensedWidthToFit(HFONT font, std::wstring_view caption, int width) {
    const SIZE needed = TextExtent(font, caption);
    if (caption.empty() || needed.cx <= width)
        return 0;
    const TEXTMETRICW metrics = TextMetrics(font);
    // Characters narrow in proportion; a pixel of rounding is left to the caller.
    const LONG average = metrics.tmAveCharWidth * width / needed.cx;
    return average < 1 ? 1 : average;
}

HFONT CreateCondensedFont(HFONT font, LONG averageWidth) {
    LOGFONTW design{};
    GetObjectW(font, sizeof design, &design);
    design.lfWidth = averageWidth;
    return CreateFontIndirectW(&design);
}

void DrawStretched(HDC target, HBITMAP picture, RECT into) {
    BITMAP info{};
    if (!picture || !GetObjectW(picture, sizeof info, &info))
        return;
    const HDC source = CreateCompatibleDC(target);
    const HGDIOBJ old = SelectObject(source, picture);
    POINT origin{};
    const int oldMode = SetStretchBltMode(target, HALFTONE);
    SetBrushOrgEx(target, 0, 0, &origin);
    StretchBlt(target, into.left, into.top, into.right - into.left, into.bottom - into.top, source,
               0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    SetBrushOrgEx(target, origin.x, origin.y, nullptr);
    SetStretchBltMode(target, oldMode);
    SelectObject(source, old);
    DeleteDC(source);
}

namespace {

// A bitmap's pixels as 32-bit BGRA rows, top first.
std::vector<RGBQUAD> pixels(HBITMAP bitmap, int width, int height) {
    std::vector<RGBQUAD> result(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(measuringDc(), bitmap, 0, static_cast<UINT>(height), result.data(), &info,
              DIB_RGB_COLORS);
    return result;
}

// The icon's own image, shrunk to `size` by averaging with the weight of
// each pixel's opacity; null where it is not larger.
HICON shrunk(HICON icon, int size) {
    ICONINFO source{};
    if (!GetIconInfo(icon, &source))
        return nullptr;
    HICON result = nullptr;
    BITMAP shape{};
    if (source.hbmColor && GetObjectW(source.hbmColor, sizeof shape, &shape) &&
        shape.bmWidth > size && shape.bmHeight == shape.bmWidth) {
        const int from = shape.bmWidth;
        const std::vector<RGBQUAD> colour = pixels(source.hbmColor, from, from);
        const std::vector<RGBQUAD> mask = pixels(source.hbmMask, from, from);
        bool hasAlpha = false;
        for (const RGBQUAD& pixel : colour)
            hasAlpha = hasAlpha || pixel.rgbReserved != 0;

        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        const HBITMAP image =
            CreateDIBSection(measuringDc(), &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        const int maskRow = (size + 15) / 16 * 2;
        std::vector<BYTE> maskBits(static_cast<std::size_t>(maskRow * size), 0);
        auto* out = static_cast<RGBQUAD*>(bits);
        for (int y = 0; y < size && out; ++y)
            for (int x = 0; x < size; ++x) {
                double alpha = 0, red = 0, green = 0, blue = 0;
                int count = 0;
                for (int sy = y * from / size; sy < (y + 1) * from / size; ++sy)
                    for (int sx = x * from / size; sx < (x + 1) * from / size; ++sx) {
                        const auto at = static_cast<std::size_t>(sy * from + sx);
                        const RGBQUAD& c = colour[at];
                        const double a = hasAlpha ? c.rgbReserved : (mask[at].rgbRed ? 0 : 255);
                        alpha += a;
                        red += a * c.rgbRed;
                        green += a * c.rgbGreen;
                        blue += a * c.rgbBlue;
                        ++count;
                    }
                RGBQUAD& pixel = out[y * size + x];
                if (alpha > 0)
                    pixel = {static_cast<BYTE>(blue / alpha + 0.5),
                             static_cast<BYTE>(green / alpha + 0.5),
                             static_cast<BYTE>(red / alpha + 0.5), 0};
                pixel.rgbReserved = static_cast<BYTE>(count ? alpha / count + 0.5 : 0);
                // The mask, for whoever draws icons without their alpha.
                if (pixel.rgbReserved < 128)
                    maskBits[static_cast<std::size_t>(y * maskRow + x / 8)] |=
                        static_cast<BYTE>(0x80 >> (x % 8));
            }
        const HBITMAP imageMask = CreateBitmap(size, size, 1, 1, maskBits.data());
        ICONINFO made{TRUE, 0, 0, imageMask, image};
        if (image && imageMask)
            result = CreateIconIndirect(&made);
        for (HBITMAP bitmap : {image, imageMask})
            if (bitmap)
                DeleteObject(bitmap);
    }
    for (HBITMAP bitmap : {source.hbmColor, source.hbmMask})
        if (bitmap)
            DeleteObject(bitmap);
    return result;
}

}  // namespace

HICON LoadShrunkIcon(HINSTANCE instance, const wchar_t* name, int size) {
    const auto natural = static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, 0, 0, 0));
    const HICON smooth = natural ? shrunk(natural, size) : nullptr;
    if (natural)
        DestroyIcon(natural);
    return smooth ? smooth
                  : static_cast<HICON>(LoadImageW(instance, name, IMAGE_ICON, size, size, 0));
}

std::wstring Widen(std::string_view utf8) {
    if (utf8.empty())
        return {};
    const int size = static_cast<int>(utf8.size());
    const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, text.data(), length);
    return text;
}

std::string Narrow(std::wstring_view utf16) {
    if (utf16.empty())
        return {};
    const int size = static_cast<int>(utf16.size());
    const int length =
        WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, utf16.data(), size, text.data(), length, nullptr, nullptr);
    return text;
}

std::wstring WindowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool RegisterDialogClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (GetClassInfoExW(instance, name, &windowClass))
        return true;
    windowClass.style = CS_DBLCLKS;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name;
    return RegisterClassExW(&windowClass) != 0;
}

void ReplaceWindowIcons(HWND window, HICON newBig, HICON newSmall, HICON& big, HICON& small) {
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(newBig));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(newSmall));
    for (HICON old : {big, small})
        if (old)
            DestroyIcon(old);
    big = newBig;
    small = newSmall;
}

}  // namespace velmora::win32
