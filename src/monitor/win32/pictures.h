// The window's pictures: PNG files embedded in the program as bitmap
// resources, turned into bitmaps when the program is built
// (cmake/png_to_bmp.py), so that no image decoder is loaded to show them.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kelvorat::win32 {

// The resource name of a picture the control table gives by path: its file
// name in capitals with '.' as '_' (":/pictures/donate_wechat.png" is
// DONATE_WECHAT_PNG).
[[nodiscard]] std::wstring PictureResourceName(std::string_view path);

// The picture resource of that name as a 32-bit top-down DIB section, or
// nullptr when there is no such resource or it cannot be read. The caller
// owns the bitmap.
[[nodiscard]] HBITMAP LoadPngResource(HINSTANCE instance, const std::wstring& name);

}  // namespace kelvorat::win32
