#include <cstdint>

#include "app/state.h"
#include "edit/edit_tools.h"
#include "overlay/frame.h"
#include "toolbar/menu.h"
#include "toolbar/toolbar.h"

namespace rc {

void ChooseTool(EditTool tool) {
  EditSession& e = State().Edit;
  CommitTextBox();
  e.tool = e.tool == tool ? EditTool::None : tool;
  // The pointer inside the selection changes with the tool; the next
  // message must look at the zone again.
  State().LastHitPoint = {INT32_MIN, INT32_MIN};
}

EditTool ActiveTool() { return State().Edit.tool; }

bool ToolPointer(MousePointer& pointer) {
  const EditTool tool = ActiveTool();
  if (tool == EditTool::None) return false;
  pointer = MousePointer::Standard(tool == EditTool::Text ? StandardCursor::IBeam : StandardCursor::Cross);
  return true;
}

void DropShapes() {
  EditSession& e = State().Edit;
  e.history.Clear();
  e.live.reset();
  if (e.textBox) Host().SetTextInputSpot(std::nullopt);
  e.textBox.reset();
  e.tool = EditTool::None;
  e.OptionsRect.Clear();
}

bool UndoShape() {
  CommitTextBox();
  return State().Edit.history.Undo();
}

bool RedoShape() {
  CommitTextBox();
  return State().Edit.history.Redo();
}

bool HasShapes() { return !State().Edit.history.Shapes().empty(); }

// An open menu stays open over the new frame.
void RepaintAfterEdit() {
  RedrawFrame(RedrawOption::KeepRects);
  HandleToolbarEvent(UiEvent::Repaint);
  if (State().MenuOpen == 1) PaintMenu(IntRect{});
}

}  // namespace rc
