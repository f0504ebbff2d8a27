// PNG resources to bitmaps through WIC.
#include "monitor/win32/pictures.h"

#include <wincodec.h>

namespace kelvorat::win32 {
namespace {

// Releases a COM interface when it goes out of scope.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  Interface** Out() { return &pointer_; }
  Interface* operator->() const { return pointer_; }
  Interface* Get() const { return pointer_; }

 private:
  Interface* pointer_ = nullptr;
};

}  // namespace

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
  HRSRC resource = FindResourceW(instance, name.c_str(), MAKEINTRESOURCEW(10));  // RT_RCDATA
  if (resource == nullptr) return nullptr;
  HGLOBAL loaded = LoadResource(instance, resource);
  auto* data = static_cast<BYTE*>(loaded != nullptr ? LockResource(loaded) : nullptr);
  const DWORD size = SizeofResource(instance, resource);
  if (data == nullptr || size == 0) return nullptr;

  ComPtr<IWICImagingFactory> factory;
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                              reinterpret_cast<void**>(factory.Out()))) ||
      FAILED(factory->CreateStream(stream.Out())) || FAILED(stream->InitializeFromMemory(data, size)) ||
      FAILED(factory->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand,
                                              decoder.Out())) ||
      FAILED(decoder->GetFrame(0, frame.Out())) || FAILED(factory->CreateFormatConverter(converter.Out())) ||
      FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR, WICBitmapDitherTypeNone, nullptr,
                                   0.0, WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  UINT width = 0, height = 0;
  if (FAILED(converter->GetSize(&width, &height)) || width == 0 || height == 0) return nullptr;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = static_cast<LONG>(width);
  info.bmiHeader.biHeight = -static_cast<LONG>(height);  // top-down, as WIC delivers the rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  const UINT stride = width * 4;
  if (FAILED(converter->CopyPixels(nullptr, stride, stride * height, static_cast<BYTE*>(bits)))) {
    DeleteObject(bitmap);
    return nullptr;
  }
  return bitmap;
}

}  // namespace kelvorat::win32
