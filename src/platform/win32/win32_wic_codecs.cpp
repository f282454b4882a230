#include "platform/win32/win32_wic_codecs.h"

#include <windows.h>
#include <objbase.h>
#include <wincodec.h>

#include <string>

#include "gfx/image_format.h"
#include "platform/win32/win32_text_encoding.h"
#include "platform/win32/win32_wic_codec.h"

namespace rc {

namespace {

std::string GuidText(const GUID& guid) {
  wchar_t text[64] = {};
  StringFromGUID2(guid, text, 64);
  return WideToUtf8(text);
}

EncoderInfo Describe(const GUID& encoder, std::string_view format, const char* name, const char* ext,
                     const char* mime) {
  return {GuidText(encoder), std::string(format), std::string("Built-in ") + name + " Codec", "",
          name, ext, mime};
}

}  // namespace

std::vector<const ImageCodec*> WicImageCodecs() {
  static const WicCodec jpeg(Describe(CLSID_WICJpegEncoder, kImageFormatJpeg, "JPEG", "*.JPG;*.JPEG;*.JPE;*.JFIF",
                                      "image/jpeg"),
                             GUID_ContainerFormatJpeg, {0xFF, 0xD8, 0xFF});
  static const WicCodec gif(Describe(CLSID_WICGifEncoder, kImageFormatGif, "GIF", "*.GIF", "image/gif"),
                            GUID_ContainerFormatGif, {'G', 'I', 'F', '8'});
  static const WicCodec png(Describe(CLSID_WICPngEncoder, kImageFormatPng, "PNG", "*.PNG", "image/png"),
                            GUID_ContainerFormatPng, {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A});
  return {&jpeg, &gif, &png};
}

}  // namespace rc
