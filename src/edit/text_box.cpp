#include "app/state.h"
#include "edit/edit_scale.h"
#include "edit/edit_tools.h"
#include "edit/text_shape.h"

namespace rc {

namespace {

TextLook LookOf(const EditSession& e, const Shape& box) {
  return TextLook{e.text.Lines(), box.fontSize, box.argb, EditScaleAt(e.textOrigin)};
}

TextCaret CaretOf(const TextEditor& t) { return {t.CaretLine(), t.CaretByte()}; }

// The input method's window follows the caret; the host wants desktop
// coordinates.
void ShowInputSpot(const EditSession& e, const Box& caret) {
  const Box& desktop = State().Desktop;
  Host().SetTextInputSpot(Box{desktop.x + e.textOrigin.x + caret.x, desktop.y + e.textOrigin.y + caret.y,
                              caret.width, caret.height});
}

// The open box's pixels: text, caret and frame, made again after each change.
void RefreshTextBox(EditSession& e) {
  Shape& box = *e.textBox;
  box.fontSize = TextSizeAt(e.textOrigin);
  box.argb = CurrentColour();
  const TextLook look = LookOf(e, box);
  const Box area = TextBoxArea(e.textOrigin, look);
  const Box caret = TextCaretBox(look, CaretOf(e.text));
  box.pixels.SetWhole(area, RenderOpenTextBox(look, area, caret));
  ShowInputSpot(e, caret);
}

// A press on the open box puts the caret between the characters nearest it.
void PlaceCaret(EditSession& e, Point p) {
  const TextCaret caret =
      TextCaretNear(LookOf(e, *e.textBox), Point{p.x - e.textOrigin.x, p.y - e.textOrigin.y});
  e.text.MoveCaret(caret.line, caret.byte);
  RefreshTextBox(e);
}

void OpenTextBox(EditSession& e, Point p) {
  e.text = TextEditor();
  e.textOrigin = p;
  e.textBox = std::make_shared<Shape>();
  e.textBox->kind = ShapeKind::Text;
  e.textBox->points = {{static_cast<double>(p.x), static_cast<double>(p.y)}};
  RefreshTextBox(e);
}

bool Over(const Shape& box, Point p) {
  const Box b = box.pixels.Bounds();
  return p.x >= b.x && p.x < b.Right() && p.y >= b.y && p.y < b.Bottom();
}

// The keys that edit the text; false for any other.
bool EditText(TextEditor& t, Key key) {
  switch (key) {
    case Key::Backspace: t.Backspace(); break;
    case Key::Delete: t.Delete(); break;
    case Key::Left: t.Left(); break;
    case Key::Right: t.Right(); break;
    case Key::Up: t.Up(); break;
    case Key::Down: t.Down(); break;
    case Key::Home: t.Home(); break;
    case Key::End: t.End(); break;
    case Key::Return: t.NewLine(); break;
    default: return false;
  }
  return true;
}

}  // namespace

bool TextBoxOpen() { return State().Edit.textBox != nullptr; }

void CommitTextBox() {
  EditSession& e = State().Edit;
  if (!e.textBox) return;
  std::shared_ptr<Shape> box = std::move(e.textBox);
  e.textBox.reset();
  Host().SetTextInputSpot(std::nullopt);
  if (e.text.Empty()) return;
  const TextLook look = LookOf(e, *box);
  box->lines = e.text.Lines();
  const Box area = TextBoxArea(e.textOrigin, look);
  box->pixels.SetWhole(area, RenderTextPixels(look, area));
  if (!box->pixels.Empty()) e.history.Add(std::move(box));
}

bool PressWithTextBoxOpen(Point p, bool insideSelection) {
  EditSession& e = State().Edit;
  if (e.textBox && Over(*e.textBox, p)) {
    PlaceCaret(e, p);
    return true;
  }
  if (e.textBox) {
    CommitTextBox();
    return insideSelection;
  }
  if (!insideSelection || e.tool != EditTool::Text) return false;
  OpenTextBox(e, p);
  return true;
}

void TypeText(const std::string& utf8) {
  EditSession& e = State().Edit;
  if (!e.textBox) return;
  e.text.Insert(utf8);
  RefreshTextBox(e);
}

// While a box is open it takes every key but the Ctrl shortcuts of the
// capture (copy, save), which commit it on their way.
bool TextBoxKey(const Message& m) {
  EditSession& e = State().Edit;
  if (!e.textBox) return false;
  if (m.key == Key::Escape) {
    CommitTextBox();
    return true;
  }
  if (EditText(e.text, m.key)) {
    RefreshTextBox(e);
    return true;
  }
  return !m.Has(kModCtrl) || m.key == Key::Z || m.key == Key::Y;
}

void RefreshOpenTextBox() {
  EditSession& e = State().Edit;
  if (e.textBox) RefreshTextBox(e);
}

}  // namespace rc
