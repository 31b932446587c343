#include "win32/controls.h"

#include <commctrl.h>
#include <objbase.h>
#include <wincodec.h>

#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <map>
#include <mutex>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "text/wide_text.h"

namespace win32 {

std::wstring Wide(const std::string& utf8) {
  return platform::Wide(utf8, CP_UTF8);
}

std::string Utf8(const std::wstring& wide) {
  return platform::Narrow(wide, CP_UTF8);
}

UINT DpiOf(HWND window) {
  // Windows 10 has it for each window; older systems give one for the screen.
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow != nullptr && window != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi != 0) return dpi;
  }
  HDC screen = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

int Px(int twips, UINT dpi) {
  return static_cast<int>(std::lround(twips * static_cast<double>(dpi) / 1440.0));
}

double Twips(int pixels, UINT dpi) {
  return pixels * 1440.0 / dpi;
}

namespace {
HFONT Font(const wchar_t* family, double points, UINT dpi, bool bold, bool underline,
           BYTE pitch = DEFAULT_PITCH | FF_DONTCARE) {
  static std::map<std::tuple<std::wstring, double, UINT, bool, bool>, HFONT> made;
  const auto key = std::make_tuple(std::wstring(family), points, dpi, bold, underline);
  if (const auto found = made.find(key); found != made.end()) return found->second;
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  font.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  font.lfUnderline = underline ? TRUE : FALSE;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = CLEARTYPE_QUALITY;
  font.lfPitchAndFamily = pitch;
  std::wcsncpy(font.lfFaceName, family, LF_FACESIZE - 1);
  HFONT handle = ::CreateFontIndirectW(&font);
  made[key] = handle;
  return handle;
}
}  // namespace

HFONT Verdana(double points, UINT dpi, bool bold, bool underline) {
  return Font(L"Verdana", points, dpi, bold, underline);
}

HFONT CourierNew(double points, UINT dpi) {
  // Where Courier New is missing, its stand-in must keep the stage list's
  // columns: a fixed-pitch font.
  return Font(L"Courier New", points, dpi, false, false, FIXED_PITCH | FF_MODERN);
}

namespace {
// Releases a COM object when it goes.
template <typename T>
struct Held {
  T* p = nullptr;
  ~Held() {
    if (p != nullptr) p->Release();
  }
  T** operator&() { return &p; }
  T* operator->() const { return p; }
};

IWICImagingFactory* Codecs() {
  static IWICImagingFactory* factory = [] {
    // The forms run on the thread that made them; COM may be there already.
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* made = nullptr;
    ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made));
    return made;
  }();
  return factory;
}
}  // namespace

namespace {

std::string ResourceName(const char* name, int width, int height, int scale) {
  char resource[64];
  std::snprintf(resource, sizeof resource, "%s_%dx%d_%d", name, width, height, scale);
  for (char* c = resource; *c != '\0'; ++c) {
    if (*c == '-') *c = '_';
  }
  return resource;
}

// The build stores each picture at 1x and 2x as PNG; Windows' own codecs
// turn it into premultiplied BGRA, as a top-down DIB holds it.
HBITMAP Decode(IWICImagingFactory* codecs, const std::string& resource) {
  HRSRC found = ::FindResourceA(nullptr, resource.c_str(), MAKEINTRESOURCEA(10) /* RT_RCDATA */);
  if (found == nullptr || codecs == nullptr) return nullptr;
  auto* bytes = static_cast<BYTE*>(::LockResource(::LoadResource(nullptr, found)));
  const DWORD size = ::SizeofResource(nullptr, found);
  Held<IWICStream> stream;
  Held<IWICBitmapDecoder> decoder;
  Held<IWICBitmapFrameDecode> frame;
  Held<IWICFormatConverter> converter;
  UINT w = 0, h = 0;
  if (bytes == nullptr || FAILED(codecs->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(bytes, size)) ||
      FAILED(codecs->CreateDecoderFromStream(stream.p, nullptr, WICDecodeMetadataCacheOnDemand,
                                             &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame)) || FAILED(codecs->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(frame.p, GUID_WICPixelFormat32bppPBGRA, WICBitmapDitherTypeNone,
                                   nullptr, 0, WICBitmapPaletteTypeCustom)) ||
      FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0) {
    return nullptr;
  }
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(w);
  info.bmiHeader.biHeight = -static_cast<LONG>(h);
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  if (FAILED(converter->CopyPixels(nullptr, w * 4, w * h * 4, static_cast<BYTE*>(bits)))) {
    ::DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

// Pictures decoded ahead on a thread of their own. Never freed: the thread
// may still run when the process ends.
struct Prefetched {
  std::mutex lock;
  std::condition_variable done;
  bool finished = false;
  std::map<std::string, HBITMAP> pictures;  // null once handed out
};
Prefetched*& Ahead() {
  static Prefetched* ahead = nullptr;
  return ahead;
}

}  // namespace

void PrefetchArtwork(const std::vector<ArtworkSize>& pictures, UINT dpi) {
  if (Ahead() != nullptr) return;
  auto* ahead = new Prefetched;
  std::vector<std::string> names;
  for (const ArtworkSize& p : pictures) {
    names.push_back(ResourceName(p.name, p.width, p.height, dpi >= 144 ? 2 : 1));
    ahead->pictures[names.back()] = nullptr;
  }
  Ahead() = ahead;
  std::thread([ahead, names] {
    ::CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    {
      Held<IWICImagingFactory> codecs;
      ::CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                         IID_PPV_ARGS(&codecs));
      for (const std::string& name : names) {
        HBITMAP bitmap = Decode(codecs.p, name);
        const std::lock_guard<std::mutex> hold(ahead->lock);
        ahead->pictures[name] = bitmap;
      }
    }
    ::CoUninitialize();
    const std::lock_guard<std::mutex> hold(ahead->lock);
    ahead->finished = true;
    ahead->done.notify_all();
  }).detach();
}

HBITMAP Artwork(const char* name, int width, int height, UINT dpi) {
  const std::string resource = ResourceName(name, width, height, dpi >= 144 ? 2 : 1);
  if (Prefetched* ahead = Ahead(); ahead != nullptr) {
    std::unique_lock<std::mutex> hold(ahead->lock);
    if (const auto found = ahead->pictures.find(resource); found != ahead->pictures.end()) {
      ahead->done.wait(hold, [ahead] { return ahead->finished; });
      HBITMAP bitmap = std::exchange(found->second, nullptr);
      if (bitmap != nullptr) return bitmap;
    }
  }
  return Decode(Codecs(), resource);
}

void DrawArtwork(HDC dc, HBITMAP bitmap, const RECT& into) {
  if (bitmap == nullptr) return;
  BITMAP b{};
  ::GetObjectW(bitmap, sizeof b, &b);
  HDC source = ::CreateCompatibleDC(dc);
  HGDIOBJ old = ::SelectObject(source, bitmap);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::SetStretchBltMode(dc, HALFTONE);
  ::GdiAlphaBlend(dc, into.left, into.top, into.right - into.left, into.bottom - into.top, source,
                  0, 0, b.bmWidth, b.bmHeight, blend);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

HICON ArtworkIcon(const char* name, int width, int height, UINT dpi, bool cursor, int hotX,
                  int hotY) {
  HBITMAP colour = Artwork(name, width, height, dpi);
  if (colour == nullptr) return nullptr;
  BITMAP b{};
  ::GetObjectW(colour, sizeof b, &b);
  HBITMAP mask = ::CreateBitmap(b.bmWidth, b.bmHeight, 1, 1, nullptr);
  const int scale = b.bmWidth / (width > 0 ? width : 1);
  ICONINFO info{!cursor, static_cast<DWORD>(hotX * scale), static_cast<DWORD>(hotY * scale), mask,
                colour};
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(mask);
  ::DeleteObject(colour);
  return icon;
}

HWND Child(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style, int left,
           int top, int width, int height, int id, UINT dpi, DWORD exStyle) {
  return ::CreateWindowExW(exStyle, windowClass, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                           Px(left, dpi), Px(top, dpi), Px(width, dpi), Px(height, dpi), parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleW(nullptr), nullptr);
}

HWND MakeToolTips(HWND owner) {
  HWND tips = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  return tips;
}

void SetToolTip(HWND tips, HWND control, const std::string& text) {
  std::wstring wide = Wide(text);
  TOOLINFOW tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = ::GetParent(control);
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  // The query copies the present text into a buffer of its own.
  wchar_t present[512] = {};
  TOOLINFOW query = tool;
  query.lpszText = present;
  tool.lpszText = wide.data();
  if (::SendMessageW(tips, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&query))) {
    ::SendMessageW(tips, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
  } else {
    ::SendMessageW(tips, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

std::string TextOf(HWND window) {
  const int n = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(n) + 1, L'\0');
  ::GetWindowTextW(window, text.data(), n + 1);
  text.resize(static_cast<std::size_t>(n));
  return Utf8(text);
}

}  // namespace win32
