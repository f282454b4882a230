#include "app/state.h"
#include "edit/edit_tools.h"
#include "edit/shape_scene.h"
#include "edit/shape_stack_layer.h"
#include "win/layered_surface.h"

namespace rc {

namespace {

// The fast compositor keeps the layer; the literal one has it drawn now.
void AddOrDraw(LayeredSurface& surface, std::shared_ptr<const SceneLayer> layer) {
  const Box reach = layer->Bounds();
  if (reach.Empty()) return;
  if (surface.UsesScene()) {
    surface.AddLayer(std::move(layer));
    return;
  }
  layer->Render(surface.CanvasDC(), reach);
  surface.MarkChanged(reach);
}

}  // namespace

void DrawShapeLayers(LayeredSurface& surface, const Box& area) {
  EditSession& e = State().Edit;
  std::vector<ShapePixels> open;
  if (e.live) open.push_back(e.live->pixels);
  if (e.textBox) open.push_back(e.textBox->pixels);
  std::shared_ptr<const ShapeScene> finished = e.history.Shapes().empty() ? nullptr : e.history.Scene();
  if (finished || !open.empty()) AddOrDraw(surface, std::make_shared<ShapeStackLayer>(std::move(finished), std::move(open), area));
}

void BurnShapes(Canvas& target, Point origin, const IntRect& selection) {
  CommitTextBox();
  EditSession& e = State().Edit;
  if (e.history.Shapes().empty()) return;
  const Box area{selection.left, selection.top, selection.right - selection.left, selection.bottom - selection.top};
  e.history.Scene()->Render(target, origin, area);
}

}  // namespace rc
