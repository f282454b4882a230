#include "platform/win32/win32_wic_codec.h"

#include <objbase.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <algorithm>
#include <climits>
#include <unordered_set>

#include "gfx/image_limits.h"

namespace rc {

using Microsoft::WRL::ComPtr;

namespace {

// One factory for the whole run. The imaging component needs COM on the
// calling thread; the program's one thread has it from start-up, tests
// may not.
IWICImagingFactory* Factory() {
  static IWICImagingFactory* factory = [] {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* made = nullptr;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&made));
    return made;
  }();
  return factory;
}

ComPtr<IWICBitmapFrameDecode> FirstFrame(std::span<const uint8_t> bytes) {
  ComPtr<IWICStream> stream;
  ComPtr<IWICBitmapDecoder> decoder;
  ComPtr<IWICBitmapFrameDecode> frame;
  if (Factory() == nullptr || bytes.empty() || bytes.size() > UINT_MAX) return frame;
  if (FAILED(Factory()->CreateStream(&stream)) ||
      FAILED(stream->InitializeFromMemory(const_cast<BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()))) ||
      FAILED(Factory()->CreateDecoderFromStream(stream.Get(), nullptr, WICDecodeMetadataCacheOnDemand, &decoder)) ||
      FAILED(decoder->GetFrame(0, &frame))) {
    frame.Reset();
  }
  return frame;
}

// The picture as 24-bit rows (blue, green, red) with the platform's 4-byte
// row alignment: an opaque source every encoder takes.
ComPtr<IWICBitmap> OpaqueBitmap(const Canvas& picture, std::vector<uint8_t>& rows) {
  const UINT stride = (static_cast<UINT>(picture.Width()) * 3 + 3) & ~3u;
  rows.assign(static_cast<size_t>(stride) * picture.Height(), 0);
  for (int32_t y = 0; y < picture.Height(); ++y) {
    uint8_t* out = rows.data() + static_cast<size_t>(y) * stride;
    for (const Pixel* p = picture.Row(y); p != picture.Row(y) + picture.Width(); ++p, out += 3) {
      out[0] = BlueOf(*p), out[1] = GreenOf(*p), out[2] = RedOf(*p);
    }
  }
  ComPtr<IWICBitmap> bitmap;
  Factory()->CreateBitmapFromMemory(picture.Width(), picture.Height(), GUID_WICPixelFormat24bppBGR, stride,
                                    static_cast<UINT>(rows.size()), rows.data(), &bitmap);
  return bitmap;
}

// The picture's own colours when it has at most 256 (flat screen content
// then comes out exact); otherwise none, and the palette is reduced.
std::vector<WICColor> ExactColours(const Canvas& picture) {
  std::unordered_set<WICColor> colours;
  for (int32_t y = 0; y < picture.Height(); ++y) {
    for (const Pixel* p = picture.Row(y); p != picture.Row(y) + picture.Width(); ++p) {
      colours.insert(*p | 0xFF000000u);
      if (colours.size() > 256) return {};
    }
  }
  return {colours.begin(), colours.end()};
}

HRESULT FillPalette(IWICPalette* palette, IWICBitmapSource* source, std::vector<WICColor> exact) {
  if (exact.empty()) return palette->InitializeFromBitmap(source, 256, FALSE);
  return palette->InitializeCustom(exact.data(), static_cast<UINT>(exact.size()));
}

// Indexed formats need a palette, made from the picture, and the pixels
// mapped onto it before the frame takes them.
ComPtr<IWICBitmapSource> IndexedSource(IWICBitmapSource* source, const Canvas& picture,
                                       IWICBitmapFrameEncode* frame) {
  ComPtr<IWICPalette> palette;
  ComPtr<IWICFormatConverter> converter;
  if (FAILED(Factory()->CreatePalette(&palette)) ||
      FAILED(FillPalette(palette.Get(), source, ExactColours(picture))) ||
      FAILED(frame->SetPalette(palette.Get())) || FAILED(Factory()->CreateFormatConverter(&converter)) ||
      FAILED(converter->Initialize(source, GUID_WICPixelFormat8bppIndexed, WICBitmapDitherTypeNone,
                                   palette.Get(), 0, WICBitmapPaletteTypeCustom))) {
    return nullptr;
  }
  return converter;
}

bool WriteFrame(IWICBitmapEncoder* encoder, IWICBitmapSource* source, const Canvas& picture) {
  ComPtr<IWICBitmapFrameEncode> frame;
  ComPtr<IPropertyBag2> options;
  if (FAILED(encoder->CreateNewFrame(&frame, &options)) || FAILED(frame->Initialize(options.Get())) ||
      FAILED(frame->SetSize(picture.Width(), picture.Height()))) {
    return false;
  }
  WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
  if (FAILED(frame->SetPixelFormat(&format))) return false;
  ComPtr<IWICBitmapSource> input = source;
  if (IsEqualGUID(format, GUID_WICPixelFormat8bppIndexed)) input = IndexedSource(source, picture, frame.Get());
  return input && SUCCEEDED(frame->WriteSource(input.Get(), nullptr)) && SUCCEEDED(frame->Commit());
}

std::vector<uint8_t> StreamBytes(IStream* stream) {
  STATSTG stat{};
  HGLOBAL memory = nullptr;
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || FAILED(GetHGlobalFromStream(stream, &memory))) return {};
  const auto* data = static_cast<const uint8_t*>(GlobalLock(memory));
  if (data == nullptr) return {};
  std::vector<uint8_t> bytes(data, data + stat.cbSize.QuadPart);
  GlobalUnlock(memory);
  return bytes;
}

}  // namespace

bool WicCodec::Recognises(std::span<const uint8_t> bytes) const {
  return bytes.size() >= magic_.size() && std::equal(magic_.begin(), magic_.end(), bytes.begin());
}

bool WicCodec::Decode(std::span<const uint8_t> bytes, Canvas& out) const {
  out.Release();
  ComPtr<IWICBitmapFrameDecode> frame = FirstFrame(bytes);
  ComPtr<IWICBitmapSource> converted;
  UINT width = 0, height = 0;
  if (!frame || FAILED(frame->GetSize(&width, &height)) || !ImageSizeAllowed(width, height) ||
      FAILED(WICConvertBitmapSource(GUID_WICPixelFormat32bppPBGRA, frame.Get(), &converted)) ||
      !out.Create(static_cast<int32_t>(width), static_cast<int32_t>(height))) {
    return false;
  }
  // Premultiplied BGRA is the canvas's own layout: the rows copy as they are.
  const UINT size = width * height * 4;
  if (FAILED(converted->CopyPixels(nullptr, width * 4, size, reinterpret_cast<BYTE*>(out.Data())))) {
    out.Release();
    return false;
  }
  return true;
}

std::vector<uint8_t> WicCodec::Encode(const Canvas& picture) const {
  if (Factory() == nullptr || picture.Empty()) return {};
  std::vector<uint8_t> rows;
  ComPtr<IWICBitmap> source = OpaqueBitmap(picture, rows);
  ComPtr<IStream> stream;
  ComPtr<IWICBitmapEncoder> encoder;
  if (!source || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream)) ||
      FAILED(Factory()->CreateEncoder(container_, nullptr, &encoder)) ||
      FAILED(encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache)) ||
      !WriteFrame(encoder.Get(), source.Get(), picture) || FAILED(encoder->Commit())) {
    return {};
  }
  return StreamBytes(stream.Get());
}

}  // namespace rc
