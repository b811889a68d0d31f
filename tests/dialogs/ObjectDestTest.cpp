// The object creation settings window driven as a user: the values it opens on, the
// sheet and layer lists over visible sheets and layers, the text styles and the font of
// new texts, the angle edits with their sliders, the per-page layout, and the values it
// hands back however it is closed.
#include "ObjectWindowsSupport.h"

#include "controls/ExSlider.h"
#include "dialogs/objects/FormObjectDest.h"
#include "foundation/ui/NumEdit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

namespace {

class ObjectDestWindow : public ObjectWindows {
protected:
    void SetUp() override
    {
        ObjectWindows::SetUp();
        Map->Symbols->LoadTextStyles(500);
        // A hidden sheet before the second visible one, and a hidden layer in each.
        Cmd({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Здания>", "mcNewLayer=<0><Дороги>", "mcNewLayer=<0><Вода>",
             "mcNewPage=<Скрытый>", "mcNewLayer=<1><Здания>", "mcSetPageProp=<1><Скрытый><0>",
             "mcNewPage=<Лист 2>", "mcNewLayer=<2><Рельеф>", "mcNewLayer=<2><Тайный>", "mcNewLayer=<2><Вода>",
             "mcSetLayerProp=<2><1><Тайный><0>", "mcNewPage=<Лист 3>", "mcNewLayer=<3><Рельеф>"});
        Opening.DestAutoPage = 0;
        Opening.DestPageName = QStringLiteral("Лист 1");
        Opening.DestAutoLayer = 0;
        Opening.DestLayerName = QStringLiteral("Вода");
        Opening.CreatePrecision = 3;
        Opening.PointSignAngle = 30.25L;
        Opening.PointCaptionLine = 2;
        Opening.AutoTextAllFromFirst = 1;
        Opening.AutoTextDX = 1.5L;
        Opening.AutoTextDY = -0.25L;
        Opening.AutoTextView = 1;
        Opening.AutoTextAngle = -455;
        Opening.AutoTextSizeFactor = 1.25L;
        Opening.TextAngle = 905;
        Opening.TextStyleName = QStringLiteral(">МЕЛКИЙ");
        Opening.TextFontName = QStringLiteral("DejaVu Serif");
        Opening.TextFontStyle = 5;
        Opening.TextFontSize = 4;
        Opening.TextColor = 0x0000FF;
        Opening.TextCaption = QStringLiteral("Река Ока");
        Opening.ShowPolygonPopup = 0;
        for (int i = 0; i < 16; ++i)
            Opening.CoordLabelOffsets[i] = (i + 1) * 0.5L;
        Opening.CoordLabelStyle = QStringLiteral(">ВОДА");
    }

    // Opens the window on values at page, lets act drive it, and gives back its result
    // and the values it shows when it is gone.
    TModalResult Open(const RObjectDest& values, int page, const std::function<void(QWidget*)>& act,
                      RObjectDest& shown)
    {
        TFormObjectDest form(values, page);
        TModalScript script;
        script.Then("TFormObjectDest", act);
        const TModalResult result = form.ShowModal();
        EXPECT_TRUE(script.Done());
        shown = form.Values();
        return result;
    }

    RObjectDest Opening;
};

QStringList Items(QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

void ClickTab(QWidget* w, const char* tabs, int index)
{
    QTabBar* bar = Control<QTabWidget>(w, tabs)->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(index).center());
}

// A click where the button's caption or box is: a check box takes no click right of its
// caption.
void Press(QWidget* w, const char* name)
{
    auto* button = Control<QAbstractButton>(w, name);
    const QPoint at = qobject_cast<QCheckBox*>(button) ? QPoint(8, button->height() / 2) : button->rect().center();
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

void Choose(QWidget* w, const char* name, int index)
{
    auto* box = Control<QComboBox>(w, name);
    box->setCurrentIndex(index);
    emit box->activated(index);
}

}  // namespace

TEST_F(ObjectDestWindow, WithoutAWindowNothingOpensAndTheAnswerIsCancel)
{
    ProgramDialogHooks().ObjectDest = nullptr;
    EXPECT_EQ(ObjectDestDlg(0), mrCancel);
}

TEST_F(ObjectDestWindow, EveryWayOfClosingWritesBackWhatTheUserSet)
{
    struct Case {
        const char* How;
        std::function<void(QWidget*)> Close;
        TModalResult Result;
    };
    const Case cases[] = {
        {"Готово", [](QWidget* w) { Press(w, "BitBtn1"); }, mrOk},
        {"the close box", [](QWidget* w) { CloseBox(w); }, mrCancel},
        {"Esc", [](QWidget* w) { Esc(w); }, mrCancel},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.How);
        RObjectDest shown;
        const TModalResult result = Open(Opening, 0, [&](QWidget* w) {
            TypeInto(w, "PointneAngleZnak", QStringLiteral("45,5"));
            Press(w, "PointsbOn");
            TypeInto(w, "UTneX", QStringLiteral("2.125"));
            Press(w, "UTsbOff");
            TypeInto(w, "UTneKSz", QStringLiteral("0.75"));
            Press(w, "AutoPage");
            ClickTab(w, "pcObjects", 2);
            Press(w, "cbShowPopup");
            ClickTab(w, "pcObjects", 3);
            TypeInto(w, "eText", QStringLiteral("Улица Мира"));
            ClickTab(w, "pcObjects", 4);
            TypeInto(w, "NumEdit5", QStringLiteral("-3.2"));
            c.Close(w);
        }, shown);
        EXPECT_EQ(result, c.Result);
        EXPECT_EQ(shown.PointSignAngle, 45.5L);
        EXPECT_EQ(shown.PointCaptionLine, 1);
        EXPECT_EQ(shown.AutoTextDX, 2.125L);
        EXPECT_EQ(shown.AutoTextDY, -0.25L);
        EXPECT_EQ(shown.AutoTextView, 2);
        EXPECT_EQ(shown.AutoTextSizeFactor, 0.75L);
        EXPECT_EQ(shown.DestAutoPage, 1);
        EXPECT_EQ(shown.DestPageName, QStringLiteral("Лист 1"));
        EXPECT_EQ(shown.ShowPolygonPopup, 1);
        EXPECT_EQ(shown.TextCaption, QStringLiteral("Улица Мира"));
        EXPECT_EQ(shown.CoordLabelOffsets[4], -3.2L);
        EXPECT_EQ(shown.CoordLabelOffsets[5], 3.0L);
    }
}

TEST_F(ObjectDestWindow, UntouchedTheWindowGivesBackWhatItOpenedOn)
{
    RObjectDest shown;
    Open(Opening, 0, [](QWidget* w) { Press(w, "BitBtn1"); }, shown);
    EXPECT_EQ(shown.DestAutoPage, 0);
    EXPECT_EQ(shown.DestPageName, QStringLiteral("Лист 1"));
    EXPECT_EQ(shown.DestAutoLayer, 0);
    EXPECT_EQ(shown.DestLayerName, QStringLiteral("Вода"));
    EXPECT_EQ(shown.CreatePrecision, 3);
    EXPECT_EQ(shown.PointSignAngle, 30.25L);
    EXPECT_EQ(shown.PointCaptionLine, 2);
    EXPECT_EQ(shown.AutoTextAllFromFirst, 1);
    EXPECT_EQ(shown.AutoTextDX, 1.5L);
    EXPECT_EQ(shown.AutoTextDY, -0.25L);
    EXPECT_EQ(shown.AutoTextView, 1);
    EXPECT_EQ(shown.AutoTextAngle, -455);
    EXPECT_EQ(shown.AutoTextSizeFactor, 1.25L);
    EXPECT_EQ(shown.TextAngle, 905);
    EXPECT_EQ(shown.TextStyleName, QStringLiteral(">МЕЛКИЙ"));
    EXPECT_EQ(shown.TextCaption, QStringLiteral("Река Ока"));
    EXPECT_EQ(shown.ShowPolygonPopup, 0);
    EXPECT_EQ(shown.CoordLabelOffsets, Opening.CoordLabelOffsets);
    EXPECT_EQ(shown.CoordLabelStyle, QStringLiteral(">ВОДА"));
    // A style the library has replaces the font of new texts by its own before anything
    // is shown: >МЕЛКИЙ is Liberation Sans 1.8 mm, black, plain.
    EXPECT_EQ(shown.TextFontName, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(shown.TextFontSize, 1.8L);
    EXPECT_EQ(shown.TextColor, 0);
    EXPECT_EQ(shown.TextFontStyle, 0);
}

TEST_F(ObjectDestWindow, SheetsAndLayersAreTheVisibleOnesOfTheChosenSheet)
{
    Opening.DestPageName = QStringLiteral("Лист 2");
    RObjectDest shown;
    Open(Opening, 0, [](QWidget* w) {
        auto* pages = Control<QComboBox>(w, "cbPage");
        auto* layers = Control<QComboBox>(w, "cbLayer");
        EXPECT_EQ(Items(pages), (QStringList{QStringLiteral("Лист 1"), QStringLiteral("Лист 2"), QStringLiteral("Лист 3")}));
        EXPECT_EQ(pages->currentText(), QStringLiteral("Лист 2"));
        // The layers of the sheet shown, not of the first sheet and not of the hidden one.
        EXPECT_EQ(Items(layers), (QStringList{QStringLiteral("Рельеф"), QStringLiteral("Вода")}));
        EXPECT_EQ(layers->currentText(), QStringLiteral("Вода"));
        EXPECT_TRUE(pages->isEnabled());
        EXPECT_TRUE(layers->isEnabled());

        // Another sheet: its layer named as the opening's when it has one, else its first.
        Choose(w, "cbPage", 0);
        EXPECT_EQ(Items(layers), (QStringList{QStringLiteral("Здания"), QStringLiteral("Дороги"), QStringLiteral("Вода")}));
        EXPECT_EQ(layers->currentText(), QStringLiteral("Вода"));
        Choose(w, "cbPage", 2);
        EXPECT_EQ(Items(layers), QStringList{QStringLiteral("Рельеф")});
        EXPECT_EQ(layers->currentIndex(), 0);

        // The layer's "Авто" on leaves the list alone; off again, it is refilled unselected.
        Press(w, "AutoLay");
        EXPECT_FALSE(layers->isEnabled());
        Choose(w, "cbPage", 1);
        EXPECT_EQ(Items(layers), QStringList{QStringLiteral("Рельеф")});
        Press(w, "AutoLay");
        EXPECT_TRUE(layers->isEnabled());
        EXPECT_EQ(Items(layers), (QStringList{QStringLiteral("Рельеф"), QStringLiteral("Вода")}));
        EXPECT_EQ(layers->currentIndex(), -1);
        CloseBox(w);
    }, shown);
    EXPECT_EQ(shown.DestAutoPage, 0);
    EXPECT_EQ(shown.DestPageName, QStringLiteral("Лист 2"));
    // A fixed layer without a name would send objects nowhere: the layer stays automatic.
    EXPECT_EQ(shown.DestAutoLayer, 1);
    EXPECT_EQ(shown.DestLayerName, QString());
}

TEST_F(ObjectDestWindow, APlanWithoutVisibleSheetsLeavesBothLevelsAutomaticAndNameless)
{
    Cmd({"mcSetPageProp=<0><Лист 1><0>", "mcSetPageProp=<2><Лист 2><0>", "mcSetPageProp=<3><Лист 3><0>"});
    RObjectDest shown;
    Open(Opening, 0, [](QWidget* w) {
        EXPECT_EQ(Control<QComboBox>(w, "cbPage")->count(), 0);
        EXPECT_EQ(Control<QComboBox>(w, "cbLayer")->count(), 0);
        Press(w, "BitBtn1");
    }, shown);
    EXPECT_EQ(shown.DestAutoPage, 1);
    EXPECT_EQ(shown.DestPageName, QString());
    EXPECT_EQ(shown.DestAutoLayer, 1);
    EXPECT_EQ(shown.DestLayerName, QString());
}

TEST_F(ObjectDestWindow, TheFontOfNewTextsFollowsTheStyleOrItsOwnPage)
{
    struct Case {
        const char* Name;
        bool FontPage;              // the font page in front at the close
        const char* Style;          // then expected
        const char* Memo;
    };
    const Case cases[] = {
        {"a style chosen", false, ">ОТМЕТКИ", "Отметки высот точек, пикетов и урезов воды."},
        {"the font page", true, "", "Отметки высот точек"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        RObjectDest shown;
        QString memo;
        Open(Opening, 3, [&](QWidget* w) {
            EXPECT_EQ(Control<QTabWidget>(w, "pcText")->currentWidget()->objectName(), QStringLiteral("tsStyle"));
            EXPECT_FALSE(Control<QPlainTextEdit>(w, "Memo1")->toPlainText().contains(QStringLiteral("не найдены")));
            Choose(w, "cbStyle", Control<QComboBox>(w, "cbStyle")->findText(QStringLiteral(">ОТМЕТКИ")));
            memo = Control<QPlainTextEdit>(w, "Memo1")->toPlainText();
            EXPECT_TRUE(Control<QToolButton>(w, "sbFI")->isChecked());
            if (c.FontPage) {
                ClickTab(w, "pcText", 1);
                TypeInto(w, "neFS", QStringLiteral("3.5"));
                Press(w, "sbFB");
            }
            CloseBox(w);
        }, shown);
        EXPECT_EQ(shown.TextStyleName, QString::fromUtf8(c.Style));
        EXPECT_EQ(shown.TextFontName, QStringLiteral("Liberation Sans"));
        EXPECT_EQ(shown.TextFontSize, c.FontPage ? 3.5L : 1.8L);
        EXPECT_EQ(shown.TextFontStyle, c.FontPage ? 3 : 2);
        EXPECT_TRUE(memo.startsWith(QString::fromUtf8(c.Memo))) << memo.toStdString();
    }
}

TEST_F(ObjectDestWindow, AStyleWithoutItsCommentFileSaysSo)
{
    ASSERT_TRUE(QFile::remove(Run->Folder() + QStringLiteral("Шрифты/500/Отметки высот.wri")));
    Opening.TextStyleName = QStringLiteral(">ОТМЕТКИ");
    RObjectDest shown;
    Open(Opening, 3, [](QWidget* w) {
        EXPECT_EQ(Control<QComboBox>(w, "cbStyle")->currentText(), QStringLiteral(">ОТМЕТКИ"));
        EXPECT_EQ(Control<QPlainTextEdit>(w, "Memo1")->toPlainText(), QStringLiteral("Комментарии к стилю не найдены"));
        CloseBox(w);
    }, shown);
    EXPECT_EQ(shown.TextStyleName, QStringLiteral(">ОТМЕТКИ"));
}

TEST_F(ObjectDestWindow, AMissingLabelStyleShowsAndKeepsTheLastStyle)
{
    Opening.CoordLabelStyle = QStringLiteral(">НЕТ ТАКОГО");
    RObjectDest shown;
    QString last;
    Open(Opening, 4, [&](QWidget* w) {
        auto* box = Control<QComboBox>(w, "ComboBox1");
        last = box->itemText(box->count() - 1);
        EXPECT_EQ(box->currentIndex(), box->count() - 1);
        Press(w, "BitBtn1");
    }, shown);
    EXPECT_FALSE(last.isEmpty());
    EXPECT_EQ(shown.CoordLabelStyle, last);
}

TEST_F(ObjectDestWindow, AngleEditsAndSlidersFollowEachOtherWithoutEchoing)
{
    RObjectDest shown;
    Open(Opening, 3, [](QWidget* w) {
        auto* slider = Control<TExSlider>(w, "TextSlider");
        EXPECT_EQ(slider->Value(), 90);   // 90.5 rounds to even
        TypeInto(w, "neTextAngle", QStringLiteral("12.5"));
        EXPECT_EQ(slider->Value(), 12);
        EXPECT_EQ(Control<QLineEdit>(w, "neTextAngle")->text(), QStringLiteral("12.5"));
        ClickTab(w, "pcObjects", 0);
        auto* caption = Control<TExSlider>(w, "UTSlider");
        EXPECT_EQ(caption->Value(), -46);   // -45.5 to even
        caption->SetValue(-120);
        EXPECT_EQ(Control<TNumEdit>(w, "UTneAngle")->FloatValue(), -120.0L);
        Control<TExSlider>(w, "PointSliderAngleZnak")->SetValue(270);
        CloseBox(w);
    }, shown);
    EXPECT_EQ(shown.TextAngle, 125);
    EXPECT_EQ(shown.AutoTextAngle, -1200);
    EXPECT_EQ(shown.PointSignAngle, 270.0L);
}

TEST_F(ObjectDestWindow, TheCaptionSettingsAreEditableOnlyWithAllFromTheFirst)
{
    Opening.AutoTextAllFromFirst = 0;
    RObjectDest shown;
    Open(Opening, 0, [](QWidget* w) {
        const char* const controls[] = {"UTneX", "UTneY", "UTsbAuto", "UTsbOn", "UTsbOff", "UTneAngle", "UTSlider", "UTneKSz"};
        for (const char* name : controls)
            EXPECT_FALSE(Control<QWidget>(w, name)->isEnabled()) << name;
        Press(w, "UTcbAll");
        for (const char* name : controls)
            EXPECT_TRUE(Control<QWidget>(w, name)->isEnabled()) << name;
        Press(w, "BitBtn1");
    }, shown);
    EXPECT_EQ(shown.AutoTextAllFromFirst, 1);
}

TEST_F(ObjectDestWindow, TheTextPagesHideTheCaptionPanelAndThePrecision)
{
    RObjectDest shown;
    Open(Opening, 0, [](QWidget* w) {
        const char* const pictures[] = {"object-dest-points", "object-dest-lines", "object-dest-polygons",
                                        "object-dest-texts", "object-dest-labels"};
        for (int page = 0; page < 5; ++page) {
            SCOPED_TRACE(page);
            ClickTab(w, "pcObjects", page);
            const bool text = page >= 3;
            EXPECT_EQ(Control<QGroupBox>(w, "UTPanel")->isVisible(), !text);
            EXPECT_EQ(Control<QGroupBox>(w, "gbPrecision")->isVisible(), !text);
            EXPECT_EQ(Control<QTabWidget>(w, "pcObjects")->size(), text ? QSize(524, 220) : QSize(426, 163));
            EXPECT_EQ(w->height(), text ? 308 : 419);
            SaveWindowPicture(w, QString::fromLatin1(pictures[page]));
        }
        ClickTab(w, "pcObjects", 3);
        ClickTab(w, "pcText", 1);
        SaveWindowPicture(w, QStringLiteral("object-dest-texts-font"));
        Press(w, "BitBtn1");
    }, shown);
}
