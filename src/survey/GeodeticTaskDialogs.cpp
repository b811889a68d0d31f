// The inverse-task and next-direction windows. Their last results live for the whole
// run, so a caller of the inverse task gets the last pair of different points even after
// the user ends on two equal ones.
#include "survey/GeodeticTaskDialogs.h"

#include "foundation/GeoServ.h"
#include "foundation/ui/NumEdit.h"
#include "survey/Geodezy.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

namespace {

Extended StoredDistance = 0;
Extended StoredAngle = 0;
TGeoAngle StoredNextAngle = 0;
// Set once the first forward-task window has been built; until then the edits' design
// values must not compute.
bool PGZCreated = false;

enum class TEditKind { Whole, Real };

TNumEdit* NumEdit(QWidget* parent, TEditKind kind, int decimals, bool readOnly = false)
{
    auto* e = new TNumEdit(parent);
    if (kind == TEditKind::Whole) {
        e->ClearTextIFValueNotInteger = true;
    } else {
        e->ClearTextIFValueNotFloat = true;
        e->UniversalDecimalSeparator = true;
        e->EnableFloatPrecision = true;
        e->SetNumberOfDecimalDigits(std::uint8_t(decimals));
    }
    e->setReadOnly(readOnly);
    e->setAlignment(Qt::AlignRight);
    e->setText(QStringLiteral("0"));
    return e;
}

QGroupBox* Group(TDialogBase* dialog, const QString& caption, const QRect& rect)
{
    auto* g = new QGroupBox(caption, dialog);
    dialog->Place(g, rect);
    return g;
}

// Degrees and minutes whole, seconds with secondDecimals (0: whole), side by side from
// (x, y) of parent.
void AngleEdits(QWidget* parent, QPoint at, TNumEdit*& g, TNumEdit*& m, TNumEdit*& s,
                int secondDecimals, bool readOnly)
{
    g = NumEdit(parent, TEditKind::Whole, 0, readOnly);
    m = NumEdit(parent, TEditKind::Whole, 0, readOnly);
    s = NumEdit(parent, secondDecimals ? TEditKind::Real : TEditKind::Whole, secondDecimals,
                readOnly);
    g->setGeometry(at.x(), at.y(), 50, 21);
    m->setGeometry(at.x() + 54, at.y(), 44, 21);
    s->setGeometry(at.x() + 102, at.y(), 56, 21);
}

void Label(QWidget* parent, const QString& text, const QRect& rect)
{
    auto* l = new QLabel(text, parent);
    l->setGeometry(rect);
}

// Whole degrees, minutes, seconds with one decimal (carried, never 60), then whole
// degrees with decimal minutes, then decimal degrees.
void ShowAngle(TGeoAngle a, TNumEdit* g, TNumEdit* m, TNumEdit* s, TNumEdit* g2,
               TNumEdit* mm, TNumEdit* g3)
{
    int dg = 0, dm = 0;
    Extended ds = 0;
    pGG_GMSRound(dg, dm, ds, a, 1);
    g->setText(QString::number(dg));
    m->setText(QString::number(dm));
    s->SetFloatValue(ds);
    int gg = 0;
    Extended mmValue = 0;
    GG_GM(gg, mmValue, a);
    g2->setText(QString::number(gg));
    mm->SetFloatValue(mmValue);
    g3->SetFloatValue(a);
}

void ShowZeros(std::initializer_list<TNumEdit*> edits)
{
    for (TNumEdit* e : edits)
        if (e->EnableFloatPrecision)
            e->SetFloatValue(0);
        else
            e->setText(QStringLiteral("0"));
}

} // namespace

TFormOGZDialog::TFormOGZDialog(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Обратная геодезическая задача"));
    SetClientSize(330, 262);
    auto* p1 = Group(this, QStringLiteral("Точка 1"), QRect(8, 4, 154, 76));
    auto* p2 = Group(this, QStringLiteral("Точка 2"), QRect(168, 4, 154, 76));
    const auto point = [](QGroupBox* g, TNumEdit*& x, TNumEdit*& y) {
        Label(g, QStringLiteral("X"), QRect(10, 22, 14, 16));
        Label(g, QStringLiteral("Y"), QRect(10, 48, 14, 16));
        x = NumEdit(g, TEditKind::Real, 3);
        y = NumEdit(g, TEditKind::Real, 3);
        x->setGeometry(28, 20, 116, 21);
        y->setGeometry(28, 46, 116, 21);
    };
    point(p1, neX1, neY1);
    point(p2, neX2, neY2);

    auto* r = Group(this, QStringLiteral("результат"), QRect(8, 84, 314, 138));
    Label(r, QStringLiteral("Расстояние"), QRect(10, 22, 90, 16));
    neD = NumEdit(r, TEditKind::Real, 3, true);
    neD->setGeometry(110, 20, 120, 21);
    Label(r, QStringLiteral("Дир.угол 1-2"), QRect(10, 50, 90, 16));
    AngleEdits(r, QPoint(110, 48), neAG, neAM, neAS, 1, true);
    neAG2 = NumEdit(r, TEditKind::Whole, 0, true);
    neAMM = NumEdit(r, TEditKind::Real, 8, true);
    neAG2->setGeometry(110, 76, 50, 21);
    neAMM->setGeometry(164, 76, 140, 21);
    neAG3 = NumEdit(r, TEditKind::Real, 12, true);
    neAG3->setGeometry(110, 104, 194, 21);
    ShowZeros({neD, neAS, neAMM, neAG3});

    AddButton(QStringLiteral("Закрыть"), QRect(240, 230, 82, 25), mrOk)->setDefault(true);
    PreviewEnterEsc();
    for (TNumEdit* e : {neX1, neY1, neX2, neY2})
        connect(e, &TNumEdit::Changed, this, &TFormOGZDialog::neX1Change);
}

void TFormOGZDialog::neX1Change()
{
    const Extended x1 = neX1->FloatValue(), y1 = neY1->FloatValue();
    const Extended x2 = neX2->FloatValue(), y2 = neY2->FloatValue();
    if (x1 == x2 && y1 == y2) {
        ShowZeros({neD, neAG, neAM, neAS, neAG2, neAMM, neAG3});
        return;
    }
    Extended d = 0;
    TGeoAngle a = 0;
    try {
        OGZ(x1, y1, x2, y2, d, a);
        // Angle parts that overflow an integer throw: the old result stays shown.
        neD->SetFloatValue(d);
        ShowAngle(a, neAG, neAM, neAS, neAG2, neAMM, neAG3);
    } catch (const std::exception&) {
        return;
    }
    StoredDistance = d;
    StoredAngle = a;
}

TModalResult TFormOGZDialog::Execute(Extended& D, Extended& A, Extended X1, Extended Y1,
                                     Extended X2, Extended Y2)
{
    TFormOGZDialog form;
    {
        // Filled one by one, the edits would compute, and store, pairs the caller never
        // gave.
        const QSignalBlocker b1(form.neX1), b2(form.neY1), b3(form.neX2), b4(form.neY2);
        form.neX1->SetFloatValue(X1);
        form.neY1->SetFloatValue(Y1);
        form.neX2->SetFloatValue(X2);
        form.neY2->SetFloatValue(Y2);
    }
    form.neX1Change();
    form.PlaceOnMouse();
    const TModalResult result = form.ShowModal();
    D = StoredDistance;
    A = StoredAngle;
    return result;
}

TFormNextDirAngle::TFormNextDirAngle(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Расчет дирекционного угла "));
    SetClientSize(330, 300);
    const auto angle = [](QGroupBox* g, TNumEdit*& d, TNumEdit*& m, TNumEdit*& s,
                          bool readOnly) { AngleEdits(g, QPoint(10, 20), d, m, s, 1, readOnly); };
    auto* a = Group(this, QStringLiteral("Исходный дирекционный угол"), QRect(8, 4, 314, 50));
    angle(a, neAG, neAM, neAS, false);
    auto* b = Group(this, QStringLiteral("Измеренный угол"), QRect(8, 58, 314, 50));
    angle(b, neBG, neBM, neBS, false);
    rbL = new QRadioButton(QStringLiteral("Левый"), b);
    rbR = new QRadioButton(QStringLiteral("Правый"), b);
    rbL->setGeometry(176, 21, 64, 18);
    rbR->setGeometry(242, 21, 68, 18);
    rbL->setChecked(true);
    auto* n = Group(this, QStringLiteral("Следующий дирекционный угол"), QRect(8, 112, 314, 104));
    angle(n, neAAG, neAAM, neAAS, true);
    neAAG2 = NumEdit(n, TEditKind::Whole, 0, true);
    neAAMM = NumEdit(n, TEditKind::Real, 8, true);
    neAAG2->setGeometry(10, 48, 50, 21);
    neAAMM->setGeometry(64, 48, 140, 21);
    neAAG3 = NumEdit(n, TEditKind::Real, 12, true);
    neAAG3->setGeometry(10, 76, 194, 21);
    for (TNumEdit* e : {neAG, neAM, neBG, neBM, neAAG, neAAM, neAAG2})
        e->setText(QStringLiteral("0"));

    BitBtn2 = AddButton(QStringLiteral("Следующий дирекционный угол в качестве исходного"),
                        QRect(8, 226, 314, 28), 0);
    AddButton(QStringLiteral("Закрыть"), QRect(240, 264, 82, 25), mrOk)->setDefault(true);
    connect(BitBtn2, &QPushButton::clicked, this, &TFormNextDirAngle::BitBtn2Click);
    for (TNumEdit* e : {neAG, neAM, neAS, neBG, neBM, neBS})
        connect(e, &TNumEdit::Changed, this, &TFormNextDirAngle::RecalcNextDirAngle);
    for (QRadioButton* r : {rbL, rbR})
        connect(r, &QRadioButton::clicked, this, &TFormNextDirAngle::RecalcNextDirAngle);
}

void TFormNextDirAngle::RecalcNextDirAngle()
{
    const Extended alpha = fGMS_GG(neAG->IntegerValue(), neAM->IntegerValue(),
                                   neAS->FloatValue());
    const Extended beta = fGMS_GG(neBG->IntegerValue(), neBM->IntegerValue(),
                                  neBS->FloatValue());
    try {
        const TGeoAngle r = NextDirAngle(alpha, beta, rbL->isChecked() ? atLeft : atRight);
        ShowAngle(r, neAAG, neAAM, neAAS, neAAG2, neAAMM, neAAG3);
        StoredNextAngle = r;
    } catch (const std::exception&) {
        // an angle too large for its degree parts: the result keeps what it showed
    }
}

void TFormNextDirAngle::BitBtn2Click()
{
    int g = 0, m = 0;
    Extended s = 0;
    try {
        pGG_GMSRound(g, m, s, StoredNextAngle, 1);
    } catch (const std::exception&) {
        return;
    }
    {
        const QSignalBlocker b1(neAG), b2(neAM), b3(neAS);
        neAG->setText(QString::number(g));
        neAM->setText(QString::number(m));
        neAS->SetFloatValue(s);
    }
    RecalcNextDirAngle();
}

TModalResult TFormNextDirAngle::Execute()
{
    TFormNextDirAngle form;
    form.PlaceOnMouse();
    return form.ShowModal();
}

TFormPGZDialog::TFormPGZDialog(QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Прямая геодезическая задача"));
    SetClientSize(430, 392);
    auto* in = Group(this, QStringLiteral("Исходные данные"), QRect(8, 4, 414, 240));
    const auto gms = [in](int y, const QString& caption, TNumEdit*& g, TNumEdit*& m,
                          TNumEdit*& sec) {
        Label(in, caption, QRect(10, y + 2, 230, 16));
        AngleEdits(in, QPoint(250, y), g, m, sec, 0, false);
    };
    const auto pair = [](QWidget* parent, int x, int y, TNumEdit*& a, TNumEdit*& b) {
        a = NumEdit(parent, TEditKind::Real, 3);
        b = NumEdit(parent, TEditKind::Real, 3);
        a->setGeometry(x, y, 72, 21);
        b->setGeometry(x + 76, y, 72, 21);
    };
    RbCoord = new QRadioButton(QStringLiteral("Пред.коодинаты "), in);
    RbCoord->setGeometry(10, 20, 230, 18);
    RbCoord->setChecked(true);
    pair(in, 250, 18, X0, Y0);
    rbDir = new QRadioButton(QStringLiteral("Дирекционный угол на точку 1"), in);
    rbDir->setGeometry(10, 46, 230, 18);
    gms(44, QString(), A1G, A1m, A1s);
    rb12 = new QRadioButton(QStringLiteral("Дирекционный угол 12"), in);
    rb12->setGeometry(10, 72, 230, 18);
    gms(70, QString(), A3g, A3m, A3s);
    Label(in, QStringLiteral("Координаты точки 1"), QRect(10, 108, 230, 16));
    pair(in, 250, 106, Xish, Yish);
    gms(140, QStringLiteral("Измеренный левый угол на точке 1"), B1g, B1m, B1s);
    Label(in, QStringLiteral("Измеренное расстояние с точки 1"), QRect(10, 176, 230, 16));
    S1 = NumEdit(in, TEditKind::Real, 3);
    S1->setGeometry(250, 174, 100, 21);
    gms(208, QStringLiteral("Измеренный угол наклона линии 1-2"), V1g, V1m, V1s);

    auto* out = Group(this, QStringLiteral("Результат"), QRect(8, 250, 414, 104));
    Label(out, QStringLiteral("Координаты точки 2"), QRect(10, 22, 200, 16));
    pair(out, 250, 20, Xres, Yres);
    Label(out, QStringLiteral("Приращения координат"), QRect(10, 48, 140, 16));
    pair(out, 250, 46, edx, edy);
    Label(out, QStringLiteral("dx"), QRect(232, 48, 16, 16));
    Label(out, QStringLiteral("dy"), QRect(308, 48, 16, 16));
    edx->setGeometry(250, 46, 56, 21);
    edy->setGeometry(326, 46, 72, 21);
    Label(out, QStringLiteral("Дирекционный угол линии 1-2"), QRect(10, 76, 230, 16));
    AngleEdits(out, QPoint(250, 74), A2g, A2m, A2s, 0, true);
    for (TNumEdit* e : {Xres, Yres, edx, edy})
        e->setReadOnly(true);
    for (TNumEdit* e : {X0, Y0, Xish, Yish, S1, Xres, Yres, edx, edy})
        e->SetFloatValue(0);

    BackCoord = AddButton(QStringLiteral("<"), QRect(8, 362, 30, 25), 0);
    AddButton(QStringLiteral("Закрыть"), QRect(340, 362, 82, 25), mrOk)->setDefault(true);
    connect(BackCoord, &QPushButton::clicked, this, &TFormPGZDialog::BackCoordClick);
    for (TNumEdit* e : {X0, Y0, A1G, A1m, A1s, A3g, A3m, A3s, Xish, Yish, B1g, B1m, B1s, S1,
                        V1g, V1m, V1s})
        connect(e, &TNumEdit::Changed, this, &TFormPGZDialog::XishChange);
    FormCreate();
}

void TFormPGZDialog::FormCreate()
{
    PGZCreated = true;
}

void TFormPGZDialog::XishChange()
{
    if (!PGZCreated)
        return;
    const auto reals = [](std::initializer_list<TNumEdit*> edits) {
        for (TNumEdit* e : edits)
            if (!e->ExistFloatValue())
                return false;
        return true;
    };
    const auto wholes = [](std::initializer_list<TNumEdit*> edits) {
        for (TNumEdit* e : edits)
            if (!e->ExistIntegerValue())
                return false;
        return true;
    };
    const auto degrees = [](TNumEdit* g, TNumEdit* m, TNumEdit* s) {
        return Geodezy::GMSToDegrees(g->IntegerValue(), m->IntegerValue(),
                                     double(s->IntegerValue()));
    };
    if (!reals({Xish, Yish, S1}))
        return;
    const double x1 = double(Xish->FloatValue()), y1 = double(Yish->FloatValue());
    double alpha12 = 0;
    if (rb12->isChecked()) {
        if (!wholes({A3g, A3m, A3s}))
            return;
        alpha12 = degrees(A3g, A3m, A3s);
    } else {
        double alpha1 = 0;
        if (RbCoord->isChecked()) {
            if (!reals({X0, Y0}) || !wholes({B1g, B1m, B1s}))
                return;
            double s, dx, dy;
            Geodezy::OGZ(double(X0->FloatValue()), double(Y0->FloatValue()), QChar('G'), x1, y1,
                         s, alpha1, dx, dy);
        } else {
            if (!wholes({A1G, A1m, A1s, B1g, B1m, B1s}))
                return;
            alpha1 = degrees(A1G, A1m, A1s);
        }
        alpha12 = Geodezy::NextDirAngle(alpha1, degrees(B1g, B1m, B1s), QChar('L'));
    }
    const double slope = degrees(V1g, V1m, V1s);
    double distance = double(S1->FloatValue());
    if (slope != 0)
        distance *= std::cos(Geodezy::DegreesToRadians(slope));
    double x2, y2, dx, dy;
    Geodezy::PGZ(x1, y1, distance, alpha12, QChar('G'), x2, y2, dx, dy);
    if (!std::isfinite(x2) || !std::isfinite(y2) || !std::isfinite(alpha12))
        return;

    if (rb12->isChecked()) {
        A2g->setText(A3g->text());
        A2m->setText(A3m->text());
        A2s->setText(A3s->text());
    } else {
        // Seconds shown whole carry into the minutes and degrees: never 60.
        int g = 0, m = 0;
        double sec = 0;
        Geodezy::DegreesToGMS(g, m, sec, alpha12);
        int whole = int(std::nearbyint(sec));
        if (whole == 60) {
            whole = 0;
            if (++m == 60) {
                m = 0;
                ++g;
            }
        }
        A2g->setText(QString::number(g));
        A2m->setText(QString::number(m));
        A2s->setText(QString::number(whole));
    }
    Xres->SetFloatValue(x2);
    Yres->SetFloatValue(y2);
    edx->SetFloatValue(dx);
    edy->SetFloatValue(dy);
}

void TFormPGZDialog::BackCoordClick()
{
    const Extended x = Xres->FloatValue(), y = Yres->FloatValue();
    {
        const QSignalBlocker block(Xish);
        Xish->SetFloatValue(x);
    }
    Yish->SetFloatValue(y);
}

TModalResult TFormPGZDialog::Execute()
{
    TFormPGZDialog form;
    form.PlaceScreenCentre();
    return form.ShowModal();
}
