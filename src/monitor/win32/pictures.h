// The window's pictures: PNGs embedded in the program as resources, decoded
// with the Windows Imaging Component.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace kelvorat::win32 {

// The resource name of a picture the control table gives by path: its file
// name in capitals with '.' as '_' (":/pictures/donate_wechat.png" is
// DONATE_WECHAT_PNG).
[[nodiscard]] std::wstring PictureResourceName(std::string_view path);

// The PNG resource of that name as a 32-bit top-down DIB section, or nullptr
// when there is no such resource or it cannot be decoded. COM must be
// initialized on the calling thread. The caller owns the bitmap.
[[nodiscard]] HBITMAP LoadPngResource(HINSTANCE instance, const std::wstring& name);

}  // namespace kelvorat::win32
