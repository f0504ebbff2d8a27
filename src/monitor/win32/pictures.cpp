// Picture resources to bitmaps.
#include "monitor/win32/pictures.h"

namespace kelvorat::win32 {

std::wstring PictureResourceName(std::string_view path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string_view file = slash == std::string_view::npos ? path : path.substr(slash + 1);
  std::wstring name;
  for (char c : file) {
    if (c >= 'a' && c <= 'z') {
      name += static_cast<wchar_t>(c - 'a' + 'A');
    } else if (c == '.') {
      name += L'_';
    } else {
      name += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
  }
  return name;
}

HBITMAP LoadPngResource(HINSTANCE instance, const std::wstring& name) {
  // A bitmap resource is a packed DIB: its header, its colour table, its rows.
  HRSRC resource = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(2));  // RT_BITMAP
  if (resource == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(instance, resource);
  const auto* packed = static_cast<const BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  const DWORD size = SizeofResource(instance, resource);
  if (packed == nullptr || size < sizeof(BITMAPINFOHEADER)) return nullptr;
  const auto* source = reinterpret_cast<const BITMAPINFO*>(packed);
  const BITMAPINFOHEADER& header = source->bmiHeader;
  if (header.biSize < sizeof header || header.biWidth <= 0 || header.biHeight == 0 ||
      header.biCompression != BI_RGB || (header.biBitCount != 8 && header.biBitCount != 24)) {
    return nullptr;
  }
  const DWORD colours = header.biBitCount == 8 ? (header.biClrUsed != 0 ? header.biClrUsed : 256) : 0;
  const DWORD width = static_cast<DWORD>(header.biWidth);
  const DWORD height = static_cast<DWORD>(header.biHeight < 0 ? -header.biHeight : header.biHeight);
  const DWORD stride = (width * header.biBitCount / 8 + 3) & ~3u;
  const DWORD offset = header.biSize + colours * sizeof(RGBQUAD);
  if (colours > 256 || offset > size || size - offset < stride * height) return nullptr;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  // GDI turns the resource's rows, whatever their depth and order, into ours.
  HDC screen = GetDC(nullptr);
  const int copied = SetDIBits(screen, bitmap, 0, height, packed + offset, source, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  if (copied != static_cast<int>(height)) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

}  // namespace kelvorat::win32
