// Makes a shape's pieces from its polygons, cell by cell. Only the cells a
// polygon's outline actually reaches are made: a long diagonal arrow does
// not fill the cells of its whole bounding box. A stroke that grows as the
// pointer moves remakes only the cells its new part touches; a shape made
// anew on every move (a rectangle being dragged) keeps the pieces, and
// their stamps, of the cells whose pixels come out the same.
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

  // The polygons become these. `pixels` must be what this raster made
  // last (or empty): cells whose pixels stay as they were keep their piece.
  void Replace(std::vector<Polygon> polygons, ShapePixels& pixels);
  // Adds polygons; only the cells they reach are made again.
  void Append(std::vector<Polygon> polygons, ShapePixels& pixels);
  bool Empty() const { return polygons_.empty(); }

 private:
  std::set<CellKey> Bin(size_t first);
  void BinPolygon(size_t index, std::set<CellKey>& touched);
  std::vector<EdgeCell> EdgesIn(const CellKey& cell) const;
  Canvas Paint(const CellKey& cell, const std::vector<EdgeCell>& edges) const;
  void ApplyMosaic(Canvas& coverage, const Box& cell) const;

  uint32_t argb_;
  MosaicBlocks* mosaic_;
  std::vector<Polygon> polygons_;
  std::map<CellKey, std::vector<size_t>> bins_;
  // What each cell was made from when Replace made it last.
  std::map<CellKey, std::vector<EdgeCell>> madeFrom_;
};

}  // namespace rc
