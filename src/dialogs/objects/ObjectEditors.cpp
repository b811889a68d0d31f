// The pieces the object editors share.
#include "dialogs/objects/ObjectEditors.h"

#include "controls/TextListBox.h"
#include "dialogs/objects/UnitUserTextProp.h"
#include "editors/EditorDialogs.h"
#include "engine/GeoMap.h"
#include "foundation/AppGlobalVar.h"
#include "mainwindow/UnitMap.h"
#include "mainwindow/VclTimer.h"
#include "semantics/codec/SemServices.h"
#include "semantics/signs/Symbols.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <cmath>

void SettingsButtonsState(int selectedCount, bool& propEnabled, bool& delEnabled)
{
    propEnabled = selectedCount == 1;
    delEnabled = selectedCount >= 1;
}

void DeleteUserTexts(ArrUserTexts& texts, const TSelectedLines& lines)
{
    for (auto it = lines.rbegin(); it != lines.rend(); ++it)
        if (*it >= 0 && *it < static_cast<int>(texts.size()))
            texts.erase(texts.begin() + *it);
}

void KeepFirstUserText(ArrUserTexts& texts)
{
    RUserText first;
    if (texts.empty())
        first.SizeFactor = 0;   // a new element of a grown array is all zeros
    else
        first = texts.front();
    texts.assign(1, first);
}

TWinAngle RotationFromDegrees(Extended degrees)
{
    return static_cast<TWinAngle>(std::nearbyint(degrees * 10));
}

TUserTextsEditor::TUserTextsEditor(ArrUserTexts& texts, TTextListBox* list, QPushButton* prop,
                                   QPushButton* add, QPushButton* del, QObject* parent)
    : QObject(parent), Texts(texts), List(list), BtProp(prop), BtDel(del)
{
    List->OnClick = [this] { UpdateButtons(); };
    List->OnDblClick = [this] { Prop(); };
    connect(prop, &QPushButton::clicked, this, [this] { Prop(); });
    connect(add, &QPushButton::clicked, this, [this] { Add(); });
    connect(del, &QPushButton::clicked, this, [this] { Del(); });
    Refill();
}

void TUserTextsEditor::Refill()
{
    UserTextsToListBox(Texts, List);
    UpdateButtons();
}

void TUserTextsEditor::UpdateButtons()
{
    TSelectedLines lines;
    TextListBoxSelectedLines(List, lines);
    bool prop = false, del = false;
    SettingsButtonsState(static_cast<int>(lines.size()), prop, del);
    BtProp->setEnabled(prop);
    BtDel->setEnabled(del);
}

void TUserTextsEditor::Add()
{
    Texts.push_back(RUserText());
    RUserText& t = Texts.back();
    UserTextPropDlg(t.Dx, t.Dy, t.Angle, t.SizeFactor, t.Show);
    Refill();
}

void TUserTextsEditor::Prop()
{
    const int i = TextListBoxFirstSelected(List);
    if (i >= 0 && i < static_cast<int>(Texts.size())) {
        RUserText& t = Texts[static_cast<size_t>(i)];
        UserTextPropDlg(t.Dx, t.Dy, t.Angle, t.SizeFactor, t.Show);
    }
    Refill();
}

void TUserTextsEditor::Del()
{
    TSelectedLines lines;
    TextListBoxSelectedLines(List, lines);
    if (ShowMsgDialog(QStringLiteral("Удаление пользовательских настроек автотекста"),
                      QString::number(lines.size()) + QStringLiteral(" настроек будет удалено!")) != mrOk)
        return;
    DeleteUserTexts(Texts, lines);
    Refill();
}

namespace {
int AutosavePauses = 0;   // pauses in force; the sign editor pauses inside an editor's
}

TAutosavePause::TAutosavePause()
{
    ++AutosavePauses;
    if (FormMap && FormMap->TimerAutosave)
        FormMap->TimerAutosave->SetEnabled(false);
}

TAutosavePause::~TAutosavePause()
{
    // Only the last pause to end starts it again: the sign editor opened from an object
    // window leaves autosave resting until that window closes too.
    if (--AutosavePauses == 0 && FormMap && FormMap->TimerAutosave)
        FormMap->TimerAutosave->SetEnabled(FormMap->AutoSaveOn == 1);
}

QString SignFileName(int scale, int kind, const QString& signName)
{
    static const char* const folders[3] = {"Точечные", "Линейные", "Площадные"};
    const char* folder = folders[kind >= 0 && kind <= 2 ? kind : 0];
    return ProgramFolderPath(QStringLiteral("Условные знаки/") + QString::number(scale) + QLatin1Char('/') +
                             QString::fromUtf8(folder) + QLatin1Char('/') + signName + QStringLiteral(".wri"));
}

int PlanScale()
{
    std::int32_t scale = 0;
    if (MainMap)
        MainMap->GetScale(scale);
    return scale;
}

void EditObjectSign(int kind, const QString& signName)
{
    if (!MainMap)
        return;
    const TAutosavePause pause;
    std::int32_t scale = 0;
    MainMap->GetScale(scale);
    EditSymbolDlg(SignFileName(scale, kind, signName), scale, kind);
    MainMap->Symbols->LoadSymbols(scale);
    if (FormMap) {
        const QSize size = FormMap->SurfaceSize();
        MainMap->Draw(size.width(), size.height(), 2, ddScreen);
    }
}

void PlaceNames(int page, int layer, QString& pageName, QString& layerName)
{
    if (!MainMap || page < 0 || page >= MainMap->GetPagesCount())
        return;
    std::uint8_t visible = 0;
    MainMap->GetPageProp(page, pageName, visible);
    const RGPage* p = MainMap->Pages.At(page);
    if (p && layer >= 0 && layer < p->Layers.GetCount())
        MainMap->GetLayerProp(page, layer, layerName, visible);
}

void TObjectHead::ShowPlace(int page, int layer)
{
    QString pageName, layerName;
    PlaceNames(page, layer, pageName, layerName);
    LPage->setText(pageName);
    LLayer->setText(layerName);
}

void DoMainCommand(TMapCommand command, const QString& params)
{
    if (MainMap)
        MainMap->DoCommand(command, params);
}

QString DecodeSemantics(int kind, const QString& semantics)
{
    if (semantics.isEmpty() || !SemServices())
        return QString();
    QString text;
    DecodeSem(kind, semantics, text);
    return text;
}

TAnglePaintBox::TAnglePaintBox(Extended offset, QWidget* parent) : QWidget(parent), Offset(offset)
{
    setFixedSize(41, 41);
}

void TAnglePaintBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(Qt::NoBrush);
    const double c = width() / 2.0;
    const double r = c - 1;
    p.drawEllipse(QPointF(c, c), r, r);
    const double a = double((Angle ? Angle() : 0) + Offset) * M_PI / 180.0;
    p.drawLine(QPointF(c, c), QPointF(c + r * std::cos(a), c + r * std::sin(a)));
}
