// The part of the selected object under the cursor, and the pick square it is found with,
// on the surface's own transform.
#include "mainwindow/UnitMap.h"

#include "engine/GeoMap.h"
#include "mainwindow/modes/SnapHitTest.h"

#include <QComboBox>

namespace {

TPickView SurfacePickView(const TFormMap& form)
{
    TPickView view;
    const int h = form.DisplaySurf->height();
    view.ToScreen = [h](const TGeoPoint& p) {
        int xs = 0, ys = 0;
        MainMap->GeoToScr(h, p.X, p.Y, xs, ys);
        return QPoint(xs, ys);
    };
    view.ToPlan = [h](QPoint p) {
        TGeoPoint g;
        MainMap->ScrToGeo(h, p.x(), p.y(), g.X, g.Y);
        return g;
    };
    view.PickRadius = form.PickRadius;
    return view;
}

}  // namespace

TGeoRect TFormMap::PickSquare(QPoint at) const
{
    return SurfacePickView(*this).PickSquare(at);
}

int TFormMap::SelectedFoundIndex() const
{
    const auto* box = findChild<QComboBox*>(QStringLiteral("SelectedObjects"));
    const int index = box ? box->currentIndex() : -1;
    return MainMap && MainMap->FoundObjects.At(index) ? index : -1;
}

void TFormMap::FindPartUnderCursor()
{
    SelectedPart = 0;
    if (!MainMap || MainMap->FoundObjects.GetCount() == 0) {
        SelectedContour = -1;
        SelectedIndex = -1;
        return;
    }
    const RFindedObject* object = MainMap->FoundObjects.At(SelectedFoundIndex());
    if (!object)
        return;
    const TPartUnderCursor part =
        FindPartOfObject(*object, SurfacePickView(*this), Points.Move.Plan, Points.Move.Screen,
                         (MoveShift & 1) != 0, {0, SelectedContour, SelectedIndex});
    SelectedPart = part.Part;
    SelectedContour = part.Contour;
    SelectedIndex = part.Index;
}
