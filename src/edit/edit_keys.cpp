#include "app/state.h"
#include "edit/edit_tools.h"

namespace rc {

namespace {

bool IsUndo(const Message& m) { return m.Has(kModCtrl) && !m.Has(kModShift) && m.key == Key::Z; }
bool IsRedo(const Message& m) {
  return m.Has(kModCtrl) && (m.key == Key::Y || (m.Has(kModShift) && m.key == Key::Z));
}

}  // namespace

bool EditKeyDown(const Message& m) {
  if (TextBoxKey(m)) {
    RepaintAfterEdit();
    return true;
  }
  if (IsUndo(m) || IsRedo(m)) {
    if (State().SelectionComplete == 1 && (IsUndo(m) ? UndoShape() : RedoShape())) RepaintAfterEdit();
    return true;
  }
  if (m.key == Key::Escape && ActiveTool() != EditTool::None) {
    ChooseTool(ActiveTool());
    RepaintAfterEdit();
    return true;
  }
  return false;
}

}  // namespace rc
