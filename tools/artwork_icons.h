// The small vector icons shared by the toolbar strip and the context menu,
// each drawn into a 17 x 18 box whose top-left corner is (x, y).
#pragma once

#include "gfx/gp_graphics.h"

namespace rc::artwork {

void DrawRectangleIcon(GpGraphics& g, float x, float y);
void DrawEllipseIcon(GpGraphics& g, float x, float y);
void DrawArrowIcon(GpGraphics& g, float x, float y);
void DrawBrushIcon(GpGraphics& g, float x, float y);
void DrawTextIcon(GpGraphics& g, float x, float y);
void DrawUndoIcon(GpGraphics& g, float x, float y);
void DrawSaveIcon(GpGraphics& g, float x, float y);
void DrawPictureIcon(GpGraphics& g, float x, float y);
void DrawDropArrow(GpGraphics& g, int x, int y);
void DrawCancelIcon(GpGraphics& g, float x, float y);
void DrawFinishIcon(GpGraphics& g, float x, float y);

}  // namespace rc::artwork
