// Makes a shape's pieces from its polygons, cell by cell. A stroke that
// grows as the pointer moves remakes only the cells its new part touches.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "edit/mosaic.h"
#include "edit/shape_pixels.h"

namespace rc {

class ShapeRaster {
 public:
  // Paints in a straight ARGB colour, or with the mosaic's blocks when
  // `mosaic` is given (it must outlive this object).
  explicit ShapeRaster(uint32_t argb = 0, MosaicBlocks* mosaic = nullptr) : argb_(argb), mosaic_(mosaic) {}

  // The polygons become these; every piece is made again.
  void Replace(std::vector<Polygon> polygons, ShapePixels& pixels);
  // Adds polygons; only the cells they reach are made again.
  void Append(std::vector<Polygon> polygons, ShapePixels& pixels);
  bool Empty() const { return polygons_.empty(); }

 private:
  std::set<CellKey> Bin(size_t first);
  void Remake(const std::set<CellKey>& cells, ShapePixels& pixels);
  Canvas Paint(const CellKey& cell) const;
  void ApplyMosaic(Canvas& coverage, const Box& cell) const;

  uint32_t argb_;
  MosaicBlocks* mosaic_;
  std::vector<Polygon> polygons_;
  std::map<CellKey, std::vector<size_t>> bins_;
};

}  // namespace rc
