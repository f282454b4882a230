#include "platform/codecs/jpeg_codec.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include <csetjmp>
#include <new>

#include "gfx/image_format.h"
#include "gfx/image_limits.h"

namespace rc {

namespace {

constexpr int kQuality = 90;
constexpr size_t kFirstOutputBlock = size_t{1} << 16;

// libjpeg reports errors by calling error_exit, which must not return: it
// jumps back to the setjmp of the call in progress.
struct JpegErrors {
  jpeg_error_mgr mgr;
  std::jmp_buf jump;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
  std::longjmp(reinterpret_cast<JpegErrors*>(cinfo->err)->jump, 1);
}

void NoMessage(j_common_ptr) {}

void InstallErrors(JpegErrors& errors) {
  jpeg_std_error(&errors.mgr);
  errors.mgr.error_exit = OnError;
  errors.mgr.output_message = NoMessage;
}

// Decoder state lives in the caller's frame so that nothing the setjmp
// function changes is lost when libjpeg jumps back, and the caller can
// always destroy it.
struct Decoder {
  jpeg_decompress_struct cinfo;
  JpegErrors errors;
};

bool CreateCanvas(Canvas& out, JDIMENSION width, JDIMENSION height) noexcept {
  if (!ImageSizeAllowed(width, height)) return false;
  try {
    return out.Create(static_cast<int32_t>(width), static_cast<int32_t>(height));
  } catch (const std::bad_alloc&) {
    return false;
  }
}

bool ReadRows(Decoder* d, std::span<const uint8_t> bytes, Canvas& out) {
  jpeg_decompress_struct& cinfo = d->cinfo;
  if (setjmp(d->errors.jump)) return false;
  jpeg_create_decompress(&cinfo);
  jpeg_mem_src(&cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&cinfo, TRUE);
  // libjpeg-turbo writes the canvas layout (blue, green, red, alpha = 255).
  cinfo.out_color_space = JCS_EXT_BGRA;
  if (!CreateCanvas(out, cinfo.image_width, cinfo.image_height)) return false;
  jpeg_start_decompress(&cinfo);
  while (cinfo.output_scanline < cinfo.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(out.Row(static_cast<int32_t>(cinfo.output_scanline)));
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  return true;
}

// Compressed bytes go straight into a growing vector owned by the caller.
struct VectorDestination {
  jpeg_destination_mgr pub;
  std::vector<uint8_t>* out;
};

void GrowTo(j_compress_ptr cinfo, size_t size) {
  auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
  const size_t used = dest->out->size() - dest->pub.free_in_buffer;
  bool grown = true;
  try {
    dest->out->resize(size);
  } catch (const std::bad_alloc&) {
    grown = false;
  }
  if (!grown) ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
  dest->pub.next_output_byte = dest->out->data() + used;
  dest->pub.free_in_buffer = size - used;
}

void InitDestination(j_compress_ptr cinfo) { GrowTo(cinfo, kFirstOutputBlock); }

boolean EmptyOutput(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
  dest->pub.free_in_buffer = 0;
  GrowTo(cinfo, dest->out->size() * 2);
  return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
  auto* dest = reinterpret_cast<VectorDestination*>(cinfo->dest);
  dest->out->resize(dest->out->size() - dest->pub.free_in_buffer);
}

struct Encoder {
  jpeg_compress_struct cinfo;
  JpegErrors errors;
  VectorDestination dest;
};

bool WriteRows(Encoder* e, const Canvas& picture) {
  jpeg_compress_struct& cinfo = e->cinfo;
  if (setjmp(e->errors.jump)) return false;
  jpeg_create_compress(&cinfo);
  cinfo.dest = &e->dest.pub;
  cinfo.image_width = static_cast<JDIMENSION>(picture.Width());
  cinfo.image_height = static_cast<JDIMENSION>(picture.Height());
  // The fourth byte of each canvas pixel is skipped, so the result is opaque.
  cinfo.input_components = 4;
  cinfo.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, kQuality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    // libjpeg only reads the rows it is given.
    auto* row = const_cast<JSAMPLE*>(reinterpret_cast<const JSAMPLE*>(picture.Row(static_cast<int32_t>(cinfo.next_scanline))));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  return true;
}

}  // namespace

const EncoderInfo& JpegCodec::Info() const {
  static const EncoderInfo info{"{5C2E7A10-9B3D-4E61-A7F2-0D4B8C1E6A02}",
                                std::string(kImageFormatJpeg),
                                "regioncap JPEG codec (libjpeg-turbo)",
                                "",
                                "JPEG",
                                "*.JPG;*.JPEG;*.JPE;*.JFIF",
                                "image/jpeg"};
  return info;
}

bool JpegCodec::Recognises(std::span<const uint8_t> bytes) const {
  return bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF;
}

bool JpegCodec::Decode(std::span<const uint8_t> bytes, Canvas& out) const {
  out.Release();
  if (bytes.empty()) return false;
  // Zeroed, so that destroying is safe even when creating failed half way.
  Decoder d{};
  d.cinfo.err = &d.errors.mgr;
  InstallErrors(d.errors);
  const bool ok = ReadRows(&d, bytes, out);
  jpeg_destroy_decompress(&d.cinfo);
  if (!ok) out.Release();
  return ok;
}

std::vector<uint8_t> JpegCodec::Encode(const Canvas& picture) const {
  std::vector<uint8_t> out;
  if (picture.Empty()) return out;
  Encoder e{};
  e.cinfo.err = &e.errors.mgr;
  InstallErrors(e.errors);
  e.dest.out = &out;
  e.dest.pub.init_destination = InitDestination;
  e.dest.pub.empty_output_buffer = EmptyOutput;
  e.dest.pub.term_destination = TermDestination;
  const bool ok = WriteRows(&e, picture);
  jpeg_destroy_compress(&e.cinfo);
  if (!ok) return {};
  return out;
}

}  // namespace rc
