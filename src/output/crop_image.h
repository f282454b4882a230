// Cutting a rectangle out of an encoded picture and encoding the piece.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace rc {

// Decodes `imageBytes`, copies its rectangle (x, y, w, h) one to one into a
// blank w x h picture (parts of the rectangle outside the source stay
// transparent black, which encodes as black) and encodes that picture with
// the encoder of `formatId`. An empty `formatId` is first set to the
// source's own format, and the caller sees the new value. Empty bytes when
// the source does not decode, the size is not positive or no encoder
// handles the format.
std::vector<uint8_t> CropImageBytes(std::span<const uint8_t> imageBytes, int x, int y, int w, int h,
                                    std::string& formatId);

}  // namespace rc
