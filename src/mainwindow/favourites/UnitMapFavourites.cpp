// The capture of a favourites button from the plan: the surface's pixels at the click, a
// semantics from the classifier, the question about the classifier at creation, then the
// picture and its description in the kind's folder and the set-up window shown. The
// capture mode stays on for the next one.
#include "mainwindow/UnitMap.h"

#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/favourites/FormFavSetup.h"
#include "mainwindow/favourites/Favourites.h"
#include "semantics/codec/SemDialogs.h"
#include "semantics/codec/SemServices.h"

namespace {

constexpr int PictureSize = 16;

// The 16 × 16 pixels of the surface with their top-left corner at point; pixels past
// the surface's edge are white, as the plan's paper.
QImage SurfacePicture(const QImage& canvas, QPoint point)
{
    QImage picture(PictureSize, PictureSize, QImage::Format_RGB32);
    picture.fill(Qt::white);
    for (int y = 0; y < PictureSize; ++y)
        for (int x = 0; x < PictureSize; ++x)
            if (canvas.valid(point.x() + x, point.y() + y))
                picture.setPixel(x, y, canvas.pixel(point.x() + x, point.y() + y));
    return picture;
}

void CaptureFavourite(TFormMap& form, int kind)
{
    const QImage picture = SurfacePicture(form.DisplaySurf->Canvas, form.Points.Up.Screen);
    int lm = kind;
    QString sem;
    // An empty semantics would name no button: taken as a cancel.
    if (SemDlg(1, lm, sem) != mrOk || sem.isEmpty())
        return;
    QString description;
    try {
        DecodeSem(kind, sem, description);
    } catch (const std::exception&) {
        description.clear();
    }
    if (description.isEmpty())
        description = sem;
    const bool callClassifier =
        ShowQDialog(QStringLiteral("вызов классификатора"),
                    QStringLiteral("определите, нужно ли при создании этого объекта вызывать "
                                   "классификатор для ввода дополнительных свойств "
                                   "(напр.колодцы-да, деревья-нет)")) == mrYes;
    try {
        SaveFavourite(FavouritesFolder(FavouritesCaptureWord(kind)),
                      FavouriteName(sem, callClassifier), picture, description);
    } catch (const std::exception& e) {
        ShowMsgDialog(QStringLiteral("Кнопка не создана"), ExceptionMessage(e));
        return;
    }
    if (!FormFavSetup)
        FormFavSetup = new TFormFavSetup(form, &form);
    FormFavSetup->SetKind(kind);
    FormFavSetup->show();
}

}  // namespace

void TFormMap::CapturePointFavourite() { CaptureFavourite(*this, 0); }
void TFormMap::CaptureLineFavourite() { CaptureFavourite(*this, 1); }
void TFormMap::CapturePolygonFavourite() { CaptureFavourite(*this, 2); }
