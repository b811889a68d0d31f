// What the object moves, pop-ups and copies share: the found object chosen in the
// selection box and the redraw of the screen they end with.
#pragma once

#include "engine/GeoMap.h"
#include "mainwindow/UnitMap.h"

// The chosen found object, of kind when kind is given (fkRastr to fkPolygon); null
// without one or when it is of another kind.
inline const RFindedObject* ChosenFound(const TFormMap& form, int kind = -1)
{
    const int index = form.SelectedFoundIndex();
    const RFindedObject* found = MainMap && index >= 0 ? MainMap->FoundObjects.At(index) : nullptr;
    return found && (kind < 0 || found->Kind == kind) ? found : nullptr;
}

// The main plan drawn on the surface with mode.
inline void DrawScreen(TFormMap& form, TDrawMode mode)
{
    const QSize size = form.DisplaySurf->size();
    MainMap->Draw(size.width(), size.height(), mode, ddScreen);
}

// The object the next mode-7 drawing draws anew, as the plan's Edited fields name it:
// kind 0 a point, 1 a line, 2 a polygon, 3 a text, NothingEdited none (an object gone,
// noted with NoteGoingObject, is all the drawing has to redraw).
constexpr std::uint8_t NothingEdited = 255;
inline void MarkEdited(int page, int layer, std::uint8_t kind, int index)
{
    MainMap->EditedPage = page;
    MainMap->EditedLayer = layer;
    MainMap->EditedKind = kind;
    MainMap->EditedObject = index;
}
