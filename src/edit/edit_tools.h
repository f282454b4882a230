// The edit tools as the window procedure, the toolbar, the menu and the
// output use them.
#pragma once

#include <cstdint>
#include <string>

#include "app/host.h"
#include "app/message.h"
#include "edit/edit_session.h"
#include "gfx/geometry.h"

namespace rc {

class LayeredSurface;

// --- Choosing ---------------------------------------------------------------
// Makes `tool` the active one, or turns it off when it already is. An open
// text box is committed first.
void ChooseTool(EditTool tool);
EditTool ActiveTool();
// The pointer inside the selection while a tool is active: a cross-hair,
// an I-beam for text. Empty optional when no tool is active.
bool ToolPointer(MousePointer& pointer);
// Forgets every shape, the open box and the active tool (a new selection).
void DropShapes();
// Takes back the last shape, or brings back the last one taken back.
// Returns whether anything changed.
bool UndoShape();
bool RedoShape();

// --- Drawing ----------------------------------------------------------------
// A left press at `p` inside the selection with a tool active: starts a
// shape, or opens a text box. Returns whether the press was taken.
bool BeginShape(Point p);
bool DrawingShape();
// A move with the button held; Shift (in `mods`) squares, rounds or snaps.
void TrackShape(Point p, uint32_t mods);
// The release: the shape joins the history unless the pointer never moved.
void EndShape();

// --- Text -------------------------------------------------------------------
bool TextBoxOpen();
// Commits the open box (an empty one leaves nothing) and closes it.
void CommitTextBox();
// A left press while a box is open: a press off the box commits it.
// Returns whether the press is used up (it landed on the box, or inside
// the selection where it only closed the box).
bool PressWithTextBoxOpen(Point p, bool insideSelection);
void TypeText(const std::string& utf8);
// A key for the open box; false when no box is open or the key is not its.
bool TextBoxKey(const Message& m);
// The open box takes the current colour and size.
void RefreshOpenTextBox();

// --- Keys -------------------------------------------------------------------
// Every key goes here first: an open text box edits with it, Escape turns
// a tool off, Ctrl+Z undoes and Ctrl+Y or Ctrl+Shift+Z redo. Returns
// whether the key was used.
bool EditKeyDown(const Message& m);

// --- Pictures ---------------------------------------------------------------
// Adds the shapes (finished, being drawn, the open box) over the clear
// selection `area` of the frame.
void DrawShapeLayers(LayeredSurface& surface, const Box& area);
// Burns the finished shapes into `target`, whose (0, 0) is overlay point
// `origin`, clipped to the selection; an open text box is committed first.
void BurnShapes(Canvas& target, Point origin, const IntRect& selection);
bool HasShapes();

// Repaints frame and toolbar after an edit changed what they show.
void RepaintAfterEdit();

}  // namespace rc
