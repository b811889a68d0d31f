// The text editor as a user drives it: the angle shown and sent, the style page and the
// font page, the style names with "*" out and ">" back, the colour dialog, the move with
// "Изменить", a typed rotation past the circle, and a text the formatter refuses.
#include "ObjectWindowsSupport.h"

#include "controls/FontComboBox.h"
#include "dialogs/objects/UnitTextProp.h"
#include "platform/TextFiles.h"

#include <QColorDialog>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace {

class TextWindow : public ObjectWindows {
protected:
    void SetUp() override
    {
        ObjectWindows::SetUp();
        // The coordinate-label style, whose name holds blanks and brackets.
        const QString styles = Run->Folder() + QStringLiteral("Шрифты/500/Стили.wri");
        QStringList lines = ReadTextFileLines(styles);
        // The shipped style of that name gives way to the test's own: bold, no comment.
        const qsizetype shipped = lines.indexOf(QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)"));
        if (shipped > 0)
            lines.remove(shipped - 1, 7);
        lines << QStringLiteral("*") << QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)") << QStringLiteral("255")
              << QStringLiteral("2") << QStringLiteral("1") << QStringLiteral("DejaVu Sans")
              << QStringLiteral("нет такого комментария");
        WriteTextFileLines(styles, lines);
        Map->Symbols->LoadTextStyles(500);
        Cmd({"mcNewPage=<Лист 1>", "mcNewLayer=<0><Надписи>", "mcNewLayer=<0><Подписи>"});
    }

    TModalResult Edit(int& page, int& layer, int& index, bool isNew, const std::function<void(QWidget*)>& step)
    {
        TModalScript script;
        script.Then("TFormTextProp", step);
        const TModalResult result = TextPropDlg(page, layer, index, isNew);
        EXPECT_TRUE(script.Done());
        return result;
    }

    TModalResult Edit(int index, const std::function<void(QWidget*)>& step)
    {
        int page = 0, layer = 0;
        return Edit(page, layer, index, false, step);
    }

    RGText& Text(int i) { return *Map->Pages.At(0)->Layers.At(0)->Texts.At(i); }
};

}  // namespace

TEST_F(TextWindow, ANewTextShowsNinetyAndSendsZero)
{
    const int mark = JournalMark();
    int page = 0, layer = 1, index = 0;
    EXPECT_EQ(Edit(page, layer, index, true, [](QWidget* w) {
                  EXPECT_EQ(w->windowTitle(), QStringLiteral("Надпись"));
                  EXPECT_EQ(Control<QLineEdit>(w, "neAngle")->text(), QStringLiteral("90,00"));
                  EXPECT_EQ(Control<QLineEdit>(w, "neKSz")->text(), QStringLiteral("1,00"));
                  EXPECT_EQ(Control<QComboBox>(w, "cbStyle")->currentText(), QStringLiteral(">ОСНОВНОЙ"));
                  EXPECT_EQ(Control<QTabWidget>(w, "PageControl1")->currentWidget()->objectName(), QStringLiteral("csStyle"));
                  EXPECT_EQ(Control<QPlainTextEdit>(w, "Memo1")->toPlainText().isEmpty(), false);
                  EXPECT_NE(Control<QPlainTextEdit>(w, "Memo1")->toPlainText(),
                            QStringLiteral("Комментарии к стилю не найдены"));
                  EXPECT_FALSE(Control<QPushButton>(w, "sbChangePageLayer")->isEnabled());
                  TypeText(w->focusWidget(), QStringLiteral("Река"));
                  Enter(w);
              }),
              mrOk);
    const QStringList sent = JournalSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_TRUE(sent[0].startsWith(QStringLiteral("mcNewText=<0><1><Река><0,00><0,00><0><1,00><*ОСНОВНОЙ><0><")))
        << sent[0].toStdString();
    EXPECT_TRUE(sent[0].endsWith(QStringLiteral("><0><2,50><0000><0>"))) << sent[0].toStdString();
    EXPECT_EQ(Map->Pages.At(0)->Layers.At(1)->Texts.At(0)->StyleName, QStringLiteral(">ОСНОВНОЙ"));
}

TEST_F(TextWindow, StyleNamesGoOutWithAStarAndComeBackWithTheirMark)
{
    Cmd({"mcNewText=<0><0><X=1000><1,00><2,00><0><1,00><*НАДПИСИ ЗА РАМКАМИ 2 (30)><0><><0><0><0000><0>",
         "mcNewText=<0><0><Б><1,00><2,00><0><1,00><*НЕТ ТАКОГО><0><><0><0><0000><0>"});
    int mark = JournalMark();
    Edit(0, [](QWidget* w) {
        EXPECT_EQ(Control<QComboBox>(w, "cbStyle")->currentText(), QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)"));
        EXPECT_TRUE(Control<QToolButton>(w, "sbFB")->isChecked());
        EXPECT_EQ(Control<QPlainTextEdit>(w, "Memo1")->toPlainText(), QStringLiteral("Комментарии к стилю не найдены"));
        SaveWindowPicture(w, QStringLiteral("text-window"));
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(JournalSince(mark).value(0).section(QLatin1Char('>'), 8, 8), QStringLiteral("<*НАДПИСИ ЗА РАМКАМИ 2 (30)"));
    EXPECT_EQ(Text(0).StyleName, QStringLiteral(">НАДПИСИ ЗА РАМКАМИ 2 (30)"));
    // A style the library does not have is offered as it is and goes back unchanged, with
    // no own font.
    mark = JournalMark();
    Edit(1, [](QWidget* w) {
        auto* styles = Control<QComboBox>(w, "cbStyle");
        EXPECT_EQ(styles->currentIndex(), styles->count() - 1);
        EXPECT_EQ(styles->currentText(), QStringLiteral(">НЕТ ТАКОГО"));
        SaveWindowPicture(w, QStringLiteral("text-window-kept-style"));
        Click(w, "BitBtn1");
    });
    EXPECT_EQ(JournalSince(mark).value(0).section(QLatin1Char('>'), 8, 9), QStringLiteral("<*НЕТ ТАКОГО><0"));
    EXPECT_EQ(Text(1).StyleName, QStringLiteral(">НЕТ ТАКОГО"));
    EXPECT_EQ(Text(1).OwnStyle, nullptr);
}

// Guards the fault where confirming the window for a text whose style the library lacks
// sent an empty style name and so changed older plans unasked.
TEST_F(TextWindow, TheStoredStyleGoesBackUnlessTheUserChoosesAnother)
{
    struct Case {
        const char* stored;    // the style field as the plan holds it
        const char* choose;    // the style the user picks; null: none picked
        const char* sent;      // the style field of the command sent
        int entries;           // the list's entries beyond the library's
    };
    const Case cases[] = {
        {"*СТАРЫЙ СТИЛЬ", nullptr, "<*СТАРЫЙ СТИЛЬ", 1},
        {"*СТАРЫЙ СТИЛЬ", ">ВОДА", "<*ВОДА", 1},
        // The library's own style under another letter case keeps the plan's spelling.
        {"*основной", nullptr, "<*основной", 0},
        {"*ОСНОВНОЙ", nullptr, "<*ОСНОВНОЙ", 0},
    };
    int index = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        Map->StrToComm(QStringLiteral("mcNewText=<0><0><А><1,00><2,00><0><1,00><%1><0><><0><0><0000><0>")
                           .arg(QString::fromUtf8(c.stored)));
        const int libraryStyles = Map->Symbols->TextStyles.GetCount();
        const int mark = JournalMark();
        Edit(index, [&](QWidget* w) {
            auto* styles = Control<QComboBox>(w, "cbStyle");
            EXPECT_EQ(styles->count(), libraryStyles + c.entries);
            if (c.choose)
                styles->setCurrentIndex(styles->findText(QString::fromUtf8(c.choose)));
            Click(w, "BitBtn1");
        });
        const QStringList sent = JournalSince(mark);
        ASSERT_EQ(sent.size(), 1);
        EXPECT_EQ(sent[0].section(QLatin1Char('>'), 8, 8), QString::fromUtf8(c.sent));
        ++index;
    }
}

TEST_F(TextWindow, TheFontPageSendsAnOwnFontWithTheStyleReadOnOpening)
{
    Cmd("mcNewText=<0><0><А><1,00><2,00><0><1,00><*ОСНОВНОЙ><0><><0><0><0000><0>");
    const int mark = JournalMark();
    Edit(0, [](QWidget* w) {
        // Another style chosen, then the font page: the own font wins, the style read on
        // opening stays.
        auto* styles = Control<QComboBox>(w, "cbStyle");
        styles->setCurrentIndex(styles->findText(QStringLiteral(">ВОДА")));
        EXPECT_TRUE(Control<QToolButton>(w, "sbFI")->isChecked());
        EXPECT_EQ(Control<QLineEdit>(w, "neFS")->text(), QStringLiteral("2,0"));
        auto* pages = Control<QTabWidget>(w, "PageControl1");
        pages->setCurrentWidget(Control<QWidget>(w, "csFont"));
        Click(w, "sbFB");
        TypeInto(w, "neFS", QStringLiteral("3,5"));
        Control<TFontComboBox>(w, "FontSelector")->SetFontName(QStringLiteral("DejaVu Serif"));
        SaveWindowPicture(w, QStringLiteral("text-window-font"));
        Click(w, "BitBtn1");
    });
    const QStringList sent = JournalSince(mark);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0], QStringLiteral("mcSetTextProp=<0><0><0><А><1,00><2,00><0><1,00><*ОСНОВНОЙ><1>"
                                      "<DejaVu Serif><16711680><3,50><1100><0>"));
    ASSERT_NE(Text(0).OwnStyle, nullptr);
    EXPECT_EQ(Text(0).OwnStyle->FontName, QStringLiteral("DejaVu Serif"));
}

TEST_F(TextWindow, TheColourDialogSetsTheColour)
{
    Cmd("mcNewText=<0><0><А><1,00><2,00><0><1,00><><1><DejaVu Sans><0><3><0000><0>");
    const int mark = JournalMark();
    TModalScript colour;
    colour.Then("QColorDialog", [](QWidget* w) {
        auto* dialog = static_cast<QColorDialog*>(w);
        dialog->setCurrentColor(QColor(0x11, 0x22, 0x33));
        dialog->accept();
    });
    Edit(0, [](QWidget* w) {
        EXPECT_EQ(Control<QTabWidget>(w, "PageControl1")->currentWidget()->objectName(), QStringLiteral("csFont"));
        Click(w, "pnColor");
        Click(w, "BitBtn1");
    });
    EXPECT_TRUE(colour.Done());
    EXPECT_EQ(JournalSince(mark).value(0).section(QLatin1Char('>'), 11, 11), QStringLiteral("<3351057"));
}

TEST_F(TextWindow, ATypedRotationPastTheCircleAndARefusedText)
{
    Cmd("mcNewText=<0><0><А><1,00><2,00><0><1,00><*ОСНОВНОЙ><0><><0><0><0000><0>");
    const int mark = JournalMark();
    Edit(0, [](QWidget* w) {
        TypeInto(w, "neAngle", QStringLiteral("460"));
        TypeInto(w, "eText", QStringLiteral("a>b"));
        Click(w, "BitBtn1");
        EXPECT_TRUE(w->isVisible());
        TypeInto(w, "eText", QStringLiteral("ab"));
        Click(w, "BitBtn1");
    });
    ASSERT_EQ(Messages.size(), 1);
    EXPECT_TRUE(Messages[0].startsWith(QStringLiteral("Надпись: Значение \"a>b\""))) << Messages[0].toStdString();
    // 460° is 100°: 350° counter-clockwise from east.
    EXPECT_EQ(JournalSince(mark).value(0).section(QLatin1Char('>'), 3, 6), QStringLiteral("<ab><1,00><2,00><3500"));
}

TEST_F(TextWindow, TheCloseBoxAfterAMoveHandsBackTheNewPlace)
{
    Cmd("mcNewText=<0><0><А><1,00><2,00><0><1,00><*ОСНОВНОЙ><0><><0><0><0000><0>");
    const int mark = JournalMark();
    int page = 0, layer = 0, index = 0;
    TModalScript script;
    script.Then("TFormTextProp", [](QWidget* w) { Click(w, "sbChangePageLayer"); })
        .Then("TFormChangePageLayer", [](QWidget* w) {
            Control<QComboBox>(w, "cbLayer")->setCurrentIndex(1);
            Click(w, "BitBtn1");
        })
        .Then("TFormTextProp", [](QWidget* w) {
            EXPECT_EQ(Control<QLabel>(w, "LLayer")->text(), QStringLiteral("Подписи"));
            CloseBox(w);
        });
    EXPECT_EQ(TextPropDlg(page, layer, index, false), mrCancel);
    const QStringList sent = JournalSince(mark);
    ASSERT_EQ(sent.size(), 2);
    EXPECT_TRUE(sent[0].startsWith(QStringLiteral("mcNewText=<0><1><А>")));
    EXPECT_EQ(sent[1], QStringLiteral("mcDelText=<0><0><0>"));
    EXPECT_EQ(page, 0);
    EXPECT_EQ(layer, 1);
    EXPECT_EQ(index, 0);
}
