// Small pieces the Win32 forms are built from: texts across to UTF-16, twips
// at the window's DPI, the fonts the layout names, the compiled-in artwork,
// and child controls with their tool tips.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <vector>

namespace win32 {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);

// The window's dots per inch (96 where the system cannot tell).
UINT DpiOf(HWND window);
// Twips (1/1440 inch) to pixels at a DPI, and back.
int Px(int twips, UINT dpi);
double Twips(int pixels, UINT dpi);

// Verdana and Courier New at a size in points, for a DPI. Made once each.
HFONT Verdana(double points, UINT dpi, bool bold = false, bool underline = false);
HFONT CourierNew(double points, UINT dpi);

// A picture of the artwork ("start" for start.svg) at the size the layout
// names, drawn for the DPI (twice the pixels at 144 dots per inch or more),
// as a 32-bit bitmap with premultiplied alpha. Null when it is not there.
HBITMAP Artwork(const char* name, int width, int height, UINT dpi);
// Starts decoding pictures for a DPI on a thread of their own, so that the
// window's first paint finds them made: the system's image codecs take a
// while to load. Artwork hands each out once; the first call counts.
struct ArtworkSize {
  const char* name;
  int width, height;
};
void PrefetchArtwork(const std::vector<ArtworkSize>& pictures, UINT dpi);
// Draws such a bitmap into a rectangle, blending its alpha.
void DrawArtwork(HDC dc, HBITMAP bitmap, const RECT& into);
// An icon (or, with a hot spot, a cursor) from the artwork.
HICON ArtworkIcon(const char* name, int width, int height, UINT dpi, bool cursor = false,
                  int hotX = 0, int hotY = 0);

// A child control at a place given in twips; the id is its control id.
HWND Child(HWND parent, const wchar_t* windowClass, const std::string& text, DWORD style, int left,
           int top, int width, int height, int id, UINT dpi, DWORD exStyle = 0);

// A tool tip for a control; the same control's tip is replaced.
void SetToolTip(HWND tips, HWND control, const std::string& text);
HWND MakeToolTips(HWND owner);

// The text of a window.
std::string TextOf(HWND window);

}  // namespace win32
