// The sign picture editor as a user meets it: a point sign of the library opened as the
// point sign dialog opens it, drawn on with the mouse, its elements dragged, reordered
// and deleted; the sign file written afterwards is read back as the oracle.
// Setting VELMORA_REVIEW_DIR writes the window at several moments there as PNGs.
#include "editors/signs/UnitSymbolEdit.h"

#include "controls/ExSpeedButton.h"
#include "controls/TextListBox.h"
#include "editors/signs/SignPreview.h"
#include "editors/signs/TextStyleBase.h"
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/signs/Symbols.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QRadioButton>
#include <QTimer>
#include <QLabel>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace {

class SymbolEditWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        SignFile = Run.Folder() + QStringLiteral("Условные знаки/500/Точечные/ПКТ.wri");
        Preview = std::make_unique<TSignPreview>(poPointSign, 500, &Window);
        ASSERT_TRUE(Preview->Prepare(SignFile));
        TSymbols& symbols = *Preview->Map->Symbols;
        ASSERT_TRUE(symbols.VpGPoints.GoFirstItem());
        Pict = &symbols.VpGPoints.Item->Picture;
        Form = std::make_unique<TFormSymbolEdit>(*Pict, *Preview->Map,
                                                 QStringLiteral("ПКТ.wri [Точечные]"), nullptr);
        Form->TextPropDialog = [this](RVpText& text, TSymbols&) {
            text.Text = QStringLiteral("Пк");
            ++TextDialogs;
            return mrOk;
        };
        Form->show();
        QTest::qWait(20);   // maximised and laid out before the view is set
        // A known view: 20 pixels a millimetre, the south-west corner at -10, -10.
        Form->View.K = 20;
        Form->View.MinX = Form->View.MinY = -10;
        Form->Render(1);
    }

    QPoint At(Extended x, Extended y) const { return Form->View.ToScreenInt(GeoPoint(x, y)); }
    QWidget* S() const { return Form->Surface; }
    void Click(Extended x, Extended y, Qt::MouseButton b = Qt::LeftButton)
    {
        QTest::mouseMove(S(), At(x, y));
        QTest::mouseClick(S(), b, {}, At(x, y));
    }
    void Hover(Extended x, Extended y) { QTest::mouseMove(S(), At(x, y)); }
    void Drag(Extended x1, Extended y1, Extended x2, Extended y2)
    {
        Hover(x1, y1);
        QTest::mousePress(S(), Qt::LeftButton, {}, At(x1, y1));
        QTest::mouseMove(S(), At((x1 + x2) / 2, (y1 + y2) / 2));
        QTest::mouseMove(S(), At(x2, y2));
        QTest::mouseRelease(S(), Qt::LeftButton, {}, At(x2, y2));
    }
    void Press(TExSpeedButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    void Review(const char* name)
    {
        if (const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR"); !dir.isEmpty())
            Form->grab().save(QString::fromLocal8Bit(dir) + u'/' + QString::fromLatin1(name));
    }
    QStringList Rows() const
    {
        QStringList rows;
        for (int i = 0; i < Form->TextListBox1->count(); ++i)
            rows << Form->TextListBox1->item(i)->text();
        return rows;
    }

    TTestRun Run{{QStringLiteral("Слои"), QStringLiteral("Условные знаки"), QStringLiteral("Шрифты")}};
    TSeparatorScope Comma{u','};
    QWidget Window;
    QString SignFile;
    std::unique_ptr<TSignPreview> Preview;
    TVpLayers* Pict = nullptr;
    std::unique_ptr<TFormSymbolEdit> Form;
    int TextDialogs = 0;
};

}  // namespace

TEST_F(SymbolEditWindow, OpensOnTheSignWithItsModeAndList)
{
    EXPECT_EQ(Form->windowTitle(), QStringLiteral("Редактор условных знаков : ПКТ.wri [Точечные]"));
    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("Окружность"), QStringLiteral("Окружность")}));
    EXPECT_TRUE(Form->sbSelectView->Down());
    EXPECT_EQ(Form->Panels[3]->text(), QStringLiteral("режим: Выбор вида [0]"));
    EXPECT_FALSE(Form->ComboBox1->isEnabled());
    Press(Form->sbAllView);
    // Two circles about 0, 0 of radius 0.5: the whole picture fits the surface.
    EXPECT_GT(Form->View.K, Form->View.K0);
    Hover(0, 0);
    EXPECT_EQ(Form->Panels[1]->text().left(1), QStringLiteral("0").left(1));
    Review("sign-editor-point-sign.png");
}

TEST_F(SymbolEditWindow, DrawsEveryKindAndTheSavedFileHoldsThem)
{
    Press(Form->sbLine);
    EXPECT_EQ(Form->Panels[3]->text(), QStringLiteral("режим: Создание линии [0]"));
    Click(2, 2);
    Click(2, 6);

    Press(Form->sbPolyline);
    Click(4, 0);
    Click(4, 0, Qt::RightButton);   // one point: the gesture goes on
    EXPECT_EQ(Form->Step, 1);
    Click(4, 3);
    Click(6, 3);
    Click(6, 3, Qt::RightButton);

    Press(Form->sbPolygon);
    Click(-2, -2);
    Click(-2, 2);
    Click(-5, 0);
    Hover(-4, -3);
    Review("sign-editor-rubber-band.png");
    Click(-5, 0, Qt::RightButton);

    Press(Form->sbCircle);
    Click(7, -5);
    Click(7, -3);

    Press(Form->sbPCircle);
    Form->NumEdit2->setText(QStringLiteral("8"));
    Click(-6, 6);
    Hover(-4.5L, 7);
    Review("sign-editor-octagon-band.png");
    Click(-4, 6);

    Press(Form->sbText);
    Click(0, 8);
    EXPECT_EQ(TextDialogs, 1);
    EXPECT_EQ(Form->Mode, 6);

    EXPECT_EQ(Rows(), (QStringList{QStringLiteral("Окружность"), QStringLiteral("Окружность"),
                                   QStringLiteral("Линия"), QStringLiteral("Полининия"),
                                   QStringLiteral("Полигон"), QStringLiteral("Окружность"),
                                   QStringLiteral("Полигон"), QStringLiteral("Текст")}));

    // Selection, then a node, a body and a rim dragged.
    Press(Form->sbSelectObject);
    Click(2, 4);
    ASSERT_EQ(Form->ComboBox1->count(), 1);
    EXPECT_EQ(Form->ComboBox1->currentText(), QStringLiteral("Линия"));
    EXPECT_EQ(Form->TextListBox1->currentRow(), 2);
    Review("sign-editor-selection.png");
    Drag(2, 6, 3, 6);

    Click(7, -5);
    ASSERT_EQ(Form->ComboBox1->count(), 1);
    EXPECT_EQ(Form->ComboBox1->currentText(), QStringLiteral("Окружность"));
    // A click on the selected body is a drag of no length: nothing else is selected.
    Click(7.2L, -5);
    EXPECT_EQ(Form->SelectedElement(), 5);
    Hover(7, -5.5L);
    QTest::mousePress(S(), Qt::LeftButton, {}, At(7, -5.5L));
    QTest::mouseMove(S(), At(6.5L, -5.5L));
    QTest::mouseMove(S(), At(6, -5.5L));
    Review("sign-editor-drag-preview.png");
    QTest::mouseRelease(S(), Qt::LeftButton, {}, At(6, -5.5L));
    Drag(6, -3, 6, -2);   // the rim, due north of the moved centre

    // The text up one place, the first circle deleted.
    QTest::mouseClick(Form->TextListBox1->viewport(), Qt::LeftButton, {},
                      Form->TextListBox1->visualItemRect(Form->TextListBox1->item(7)).center());
    EXPECT_EQ(Form->Mode, 0);
    EXPECT_EQ(Form->ComboBox1->currentText(), QStringLiteral("Текст"));
    Press(Form->SpeedButton1);
    EXPECT_EQ(Form->TextListBox1->currentRow(), 6);
    Form->TextListBox1->setCurrentRow(0);
    Press(Form->SpeedButton3);
    Form->close();
    SetReferencePoints(*Pict);

    // The file written by the library, read back.
    TSymbols& symbols = *Preview->Map->Symbols;
    const QString saved = Run.Folder() + QStringLiteral("Условные знаки/500/Точечные/ПКТ-проба.wri");
    ASSERT_TRUE(symbols.SaveSymbol(saved, lmPoint));
    TSymbols back;
    ASSERT_TRUE(back.LoadSymbol(saved, QStringLiteral("ПКТ-проба"), lmPoint));
    const TVpLayers& p = back.VpGPoints.Item->Picture;
    ASSERT_EQ(p.GetCount(), 7);
    EXPECT_EQ(ElementRows(p), (QStringList{QStringLiteral("Окружность"), QStringLiteral("Линия"),
                                          QStringLiteral("Полининия"), QStringLiteral("Полигон"),
                                          QStringLiteral("Окружность"), QStringLiteral("Текст"),
                                          QStringLiteral("Полигон")}));
    const RVpLine& line = *p.At(1)->Lines.At(0);
    EXPECT_EQ(line.P1.X, 2);
    EXPECT_EQ(line.P1.Y, 2);
    EXPECT_EQ(line.P2.X, 3);   // the dragged end
    EXPECT_EQ(line.P2.Y, 6);
    EXPECT_EQ(line.PenWidth, 0.1L);
    EXPECT_EQ(line.PenMode, 4);
    EXPECT_EQ(p.At(2)->Polylines.At(0)->Points.GetCount(), 3);
    const RVpPolygon& triangle = *p.At(3)->Polygons.At(0);
    EXPECT_EQ(triangle.Points.GetCount(), 3);
    EXPECT_EQ(triangle.FillStyle, vfColor);
    EXPECT_EQ(triangle.FillColor, 0x808080);
    const RVpCircle& circle = *p.At(4)->Circles.At(0);
    EXPECT_EQ(circle.Center.X, 6);    // the body moved one millimetre south
    EXPECT_EQ(circle.Center.Y, -5);
    EXPECT_EQ(circle.Radius, 3);      // the rim pulled out
    const RVpText& text = *p.At(5)->Texts.At(0);
    EXPECT_EQ(text.Text, QStringLiteral("Пк"));
    EXPECT_EQ(text.Angle, 90);
    EXPECT_EQ(text.Position.X, 0);
    EXPECT_EQ(text.Position.Y, 8);
    EXPECT_EQ(text.StyleName, Preview->Map->Symbols->TextStyles.At(0)->StyleName);
    const RVpPolygon& octagon = *p.At(6)->Polygons.At(0);
    ASSERT_EQ(octagon.Points.GetCount(), 9);
    EXPECT_NEAR(double(octagon.Points.At(0)->X), -4, 1e-9);   // due north of the centre
    EXPECT_NEAR(double(octagon.Points.At(0)->Y), 6, 1e-9);
    // Every polygon's and polyline's reference point is set, as the loader sets it.
    EXPECT_EQ(Pict->At(2)->Polylines.At(0)->RefPoint.Y, 1.5L);
}

TEST_F(SymbolEditWindow, RegularPolygonRefusesFewerThanThreeCorners)
{
    QStringList messages;
    TDialogHooks hooks;
    hooks.ShowMsg = [&](const QString&, const QString& text) {
        messages << text;
        return mrOk;
    };
    TScopedDialogHooks scope(hooks);
    Press(Form->sbPCircle);
    Form->NumEdit2->setText(QString());
    Click(0, 0);
    Click(2, 0);
    EXPECT_EQ(messages, QStringList{QStringLiteral("Число углов должно быть не меньше 3")});
    EXPECT_EQ(Pict->GetCount(), 2);
    EXPECT_EQ(Form->Step, 0);
}

TEST_F(SymbolEditWindow, ClearEmptiesThePictureAndDisablesTheFoundList)
{
    Press(Form->sbSelectObject);
    Click(0, 0);
    EXPECT_EQ(Form->ComboBox1->count(), 2);   // both circles, the earlier first
    EXPECT_EQ(Form->SelectedElement(), 0);
    Form->ComboBox1->setCurrentIndex(1);
    emit Form->ComboBox1->activated(1);
    EXPECT_EQ(Form->SelectedElement(), 1);
    EXPECT_EQ(Form->TextListBox1->currentRow(), 1);
    Press(Form->SpeedButton4);
    EXPECT_EQ(Pict->GetCount(), 0);
    EXPECT_EQ(Form->TextListBox1->count(), 0);
    EXPECT_FALSE(Form->ComboBox1->isEnabled());
    Press(Form->sbAllView);
    EXPECT_EQ(Form->View.MinX, -10);
}

TEST_F(SymbolEditWindow, ZoomAndPanButtons)
{
    const Extended k = Form->View.K;
    Press(Form->sbViewIn);
    EXPECT_NEAR(double(Form->View.K), double(k * 1.2L), 1e-9);
    Press(Form->sbViewOut);
    EXPECT_NEAR(double(Form->View.K), double(k), 1e-9);
    const Extended minY = Form->View.MinY;
    // A right-button pan in selection mode: the extents follow, the mode stays.
    Press(Form->sbSelectObject);
    QTest::mousePress(S(), Qt::RightButton, {}, QPoint(100, 100));
    QTest::mouseMove(S(), QPoint(140, 100));
    QTest::mouseRelease(S(), Qt::RightButton, {}, QPoint(140, 100));
    EXPECT_NEAR(double(Form->View.MinY), double(minY - 40 / Form->View.K), 1e-9);
    EXPECT_EQ(Form->Mode, 0);
    // A left-button pan in its own mode; the hover works again afterwards.
    Press(Form->sbMoveView);
    const Extended minX = Form->View.MinX;
    QTest::mousePress(S(), Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(S(), QPoint(100, 120));
    QTest::mouseRelease(S(), Qt::LeftButton, {}, QPoint(100, 120));
    EXPECT_NEAR(double(Form->View.MinX), double(minX + 20 / Form->View.K), 1e-9);
    EXPECT_EQ(Form->Mode, 2);
    Press(Form->sbSelectObject);
    Click(0, 0);
    Hover(0.1L, 0);
    EXPECT_EQ(Form->Hover.State, hsBody);
}

TEST_F(SymbolEditWindow, MissingPictureIsRefusedWithTheTrail)
{
    if (ErrorInfo)
        ErrorInfo->clear();
    try {
        SymbolEditDlg(nullptr, QString(), *Preview->Map);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message, QStringLiteral("Переданный редактору указатель на экземпляр TVPLayers недействителен!"));
    }
    ASSERT_TRUE(ErrorInfo);
    EXPECT_TRUE(ErrorInfo->join(u'\n').contains(
        QStringLiteral("function SymbolEditDlg(const EditPict:TVpLayers):TModalResult;")));
}

TEST_F(SymbolEditWindow, ZoomWindowShowsTheRectangle)
{
    Press(Form->sbSelectView);
    QTest::mousePress(S(), Qt::LeftButton, {}, At(4, -2));
    QTest::mouseMove(S(), At(2, 0));
    QTest::mouseMove(S(), At(0, 2));
    QTest::mouseRelease(S(), Qt::LeftButton, {}, At(0, 2));
    EXPECT_NEAR(double(Form->View.MinX), 0, 1e-9);
    EXPECT_NEAR(double(Form->View.MaxX), 4, 1e-9);
    EXPECT_NEAR(double(Form->View.MinY), -2, 1e-9);
    // Fitted: 4 millimetres over the surface less its margins, the narrower way.
    const Extended k = std::min((Form->View.W - 20) / Extended(4), (Form->View.H - 20) / Extended(4));
    EXPECT_NEAR(double(Form->View.K), double(std::min(k, Form->View.K0 * 100)), 1e-9);
    EXPECT_EQ(Form->Mode, 1);
}

TEST_F(SymbolEditWindow, ColoursAreChosenSwappedAndApplied)
{
    TColorDialogHook& hook = ColorDialogHook();
    const TColorDialogHook kept = hook;
    hook = [](std::int32_t& c) {
        c = 0x0000FF;
        return true;
    };
    QTest::mouseClick(Form->pnPenColor, Qt::LeftButton);
    hook = kept;
    EXPECT_EQ(Form->pnPenColor->Color(), 0x0000FF);
    Press(Form->Image1);
    EXPECT_EQ(Form->pnPenColor->Color(), 0x808080);
    EXPECT_EQ(Form->pnBrushColor->Color(), 0x0000FF);
    Form->RadioButton3->setChecked(true);
    Press(Form->sbSelectObject);
    Click(0, 0);
    Press(Form->SpeedButton6);
    const RVpCircle& c = *Pict->At(0)->Circles.At(0);
    EXPECT_EQ(c.PenColor, 0x808080);
    EXPECT_EQ(c.FillColor, 0x0000FF);
    EXPECT_EQ(c.FillStyle, vfNone);
    Form->NumEdit1->setText(QStringLiteral("0.35"));
    Press(Form->SpeedButton5);
    EXPECT_EQ(c.PenWidth, 0.35L);
    EXPECT_EQ(Pict->At(1)->Circles.At(0)->PenWidth, 0.1L);   // the other circle stays
}

TEST_F(SymbolEditWindow, RightReleaseOnASelectedTextOffersItsProperties)
{
    Press(Form->sbText);
    Click(2, 2);
    ASSERT_EQ(TextDialogs, 1);
    Press(Form->sbSelectObject);
    const TGeoRect frame = Pict->At(2)->Texts.At(0)->Frame;
    const TGeoPoint inside = GeoPoint((frame[0].X + frame[2].X) / 2, (frame[0].Y + frame[2].Y) / 2);
    Click(inside.X, inside.Y);
    ASSERT_EQ(Form->ComboBox1->currentText(), QStringLiteral("Текст"));
    Hover(inside.X, inside.Y + 0.1L);   // a move over the selected text's body
    EXPECT_EQ(Form->Hover.State, hsBody);
    QTest::mouseClick(S(), Qt::RightButton, {}, At(inside.X, inside.Y + 0.1L));
    EXPECT_TRUE(Form->TextPopUp->isVisible());
    Form->TextPopUp->hide();
    EXPECT_EQ(Form->TextPopUp->actions().front()->text(), QStringLiteral("Свойства"));
    Form->TextPopUp->actions().front()->trigger();
    EXPECT_EQ(TextDialogs, 2);
}

TEST_F(SymbolEditWindow, ClosingGivesEveryOutlineItsReferencePoint)
{
    // Guards the fault that left new outlines at reference point 0 unless the last walk
    // happened to stop on them: the line renderer then cut them short.
    TNewPrimStyle s;
    AddPolygon(*Pict, s, {GeoPoint(0, 2), GeoPoint(1, 6), GeoPoint(2, 4)});
    AddPolyline(*Pict, s, {GeoPoint(0, -8), GeoPoint(0, -2)});
    Pict->GoFirstItem();
    Form.reset();
    QTimer::singleShot(0, [] {
        if (QWidget* w = QApplication::activeModalWidget())
            static_cast<TFormSymbolEdit*>(w)->SetModalResult(mrCancel);
    });
    EXPECT_EQ(SymbolEditDlg(Pict, QStringLiteral("ПКТ.wri"), *Preview->Map), mrCancel);
    EXPECT_EQ(Pict->At(2)->Polygons.At(0)->RefPoint.Y, 4);
    EXPECT_EQ(Pict->At(3)->Polylines.At(0)->RefPoint.Y, -5);
}

TEST_F(SymbolEditWindow, TextWithoutLibraryStylesGetsAnEmptyStyleName)
{
    Preview->Map->Symbols->TextStyles.DeleteAll();
    Press(Form->sbText);
    Click(1, 1);
    ASSERT_EQ(Pict->GetCount(), 3);
    EXPECT_TRUE(Pict->At(2)->Texts.At(0)->StyleName.isEmpty());
    EXPECT_EQ(TextDialogs, 1);
}
