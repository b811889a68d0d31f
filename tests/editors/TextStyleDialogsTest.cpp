// The two "Надпись" windows over the text styles of 1:500 as a user drives them: what
// each opens with, what each close writes, the comment of a style, the keys. Setting
// VELMORA_REVIEW_DIR writes both windows there as PNGs.
#include "controls/FontComboBox.h"
#include "editors/signs/UnitSelectTextStyle.h"
#include "editors/signs/UnitSymbolTextProp.h"
#include "foundation/GeoDataObjectsSigns.h"
#include "foundation/ui/NumEdit.h"
#include "semantics/signs/Symbols.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>
#include <QtTest/QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString NoComment = QStringLiteral("Комментарии к стилю не найдены");

void Review(QWidget* w, const char* name)
{
    const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR");
    if (!dir.isEmpty())
        w->grab().save(QString::fromLocal8Bit(dir) + u'/' + QString::fromLatin1(name));
}

class TextStyleDialogs : public ::testing::Test {
protected:
    void SetUp() override
    {
        Symbols.SetScale(500, 92.89L);
        Symbols.LoadTextStyles(500);
        ASSERT_GT(Symbols.TextStyles.GetCount(), 3);
        ASSERT_TRUE(FontInstalled(QStringLiteral("Liberation Sans")));
    }

    // The text window on text, acted on by act (which must close it).
    int TextDlg(RVpText& text, const std::function<void(TFormSymbolTextProp*)>& act)
    {
        TModalScript script;
        script.Then("TFormSymbolTextProp", [act](QWidget* w) { act(static_cast<TFormSymbolTextProp*>(w)); });
        return SymbolTextPropDlg(text, Symbols);
    }
    int StyleDlg(RSemText& rule, const std::function<void(TFormSelectTextStyle*)>& act)
    {
        TModalScript script;
        script.Then("TFormSelectTextStyle", [act](QWidget* w) { act(static_cast<TFormSelectTextStyle*>(w)); });
        return SelectTextStyleDlg(rule, Symbols);
    }

    static TUserStyle Own(const QString& font, std::int32_t colour, Extended size, std::uint8_t flags)
    {
        TUserStyle s;
        s.FontName = font;
        s.Color = colour;
        s.Size = size;
        s.FontStyle = flags;
        return s;
    }

    TTestRun Run{{QStringLiteral("Шрифты")}};
    TSymbols Symbols;
};

TEST_F(TextStyleDialogs, NamedStyleOpensOnTheStylePageWithItsComment)
{
    RVpText text;
    text.StyleName = QStringLiteral(">ОСНОВНОЙ");
    text.Text = QStringLiteral("В");
    text.Angle = 90;
    EXPECT_EQ(TextDlg(text, [](TFormSymbolTextProp* w) {
                  Review(w, "symbol-text-prop.png");
                  EXPECT_EQ(w->windowTitle(), QStringLiteral("Надпись"));
                  EXPECT_EQ(w->PageControl1->currentWidget(), w->csStyle);
                  EXPECT_EQ(w->cbStyle->currentText(), QStringLiteral(">ОСНОВНОЙ"));
                  EXPECT_TRUE(w->Memo1->toPlainText().startsWith(QStringLiteral("Основной шрифт подписей плана")));
                  EXPECT_EQ(w->FontSelector->FontName(), QStringLiteral("Liberation Sans"));
                  EXPECT_EQ(w->neFS->text(), QStringLiteral("2.5"));
                  EXPECT_EQ(w->eText->text(), QStringLiteral("В"));
                  EXPECT_EQ(w->eText->selectedText(), QStringLiteral("В"));
                  EXPECT_EQ(w->neAngle->text(), QStringLiteral("90.00"));
                  EXPECT_TRUE(w->CheckBox1->isChecked());
                  EXPECT_TRUE(w->FontSelector->UseFonts());
                  Esc(w);
              }),
              mrCancel);
}

// The case table of what a window opens with; each is closed with Esc and must leave its
// record as it was.
TEST_F(TextStyleDialogs, OpeningShowsTheRecordsStyle)
{
    struct Case {
        const char* name;
        QString styleName;
        bool own;
        TUserStyle style;
        bool fontPage;
        QString chosen;   // cbStyle's text; empty: none chosen
        QString memo;
        bool bold, italic, underline;
    };
    const Case cases[] = {
        {"unknown name", QStringLiteral(">НЕТ ТАКОГО"), false, {}, false, QString(), NoComment,
         false, false, false},
        {"own italic", QStringLiteral(">ОСНОВНОЙ"), true, Own(QStringLiteral("DejaVu Sans"), 0xFF, 4, fsItalicBit),
         true, QString(), QString(), false, true, false},
        {"own bold underlined", QString(), true,
         Own(QStringLiteral("DejaVu Sans"), 0, 2, fsBoldBit | fsUnderlineBit), true, QString(), QString(),
         true, false, true},
        {"named italic", QStringLiteral(">ОТМЕТКИ"), false, {}, false, QStringLiteral(">ОТМЕТКИ"), QString(),
         false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const bool textWindow : {true, false}) {
            SCOPED_TRACE(textWindow);
            const auto check = [&](TFormTextStyleBase* w) {
                EXPECT_EQ(w->PageControl1->currentWidget(), c.fontPage ? w->csFont : w->csStyle);
                EXPECT_EQ(w->cbStyle->currentText(), c.chosen);
                if (!c.memo.isEmpty())
                    EXPECT_EQ(w->Memo1->toPlainText(), c.memo);
                EXPECT_EQ(w->sbFB->isChecked(), c.bold);
                EXPECT_EQ(w->sbFI->isChecked(), c.italic);
                EXPECT_EQ(w->sbFU->isChecked(), c.underline);
                if (c.own) {
                    EXPECT_EQ(w->FontSelector->FontName(), c.style.FontName);
                    EXPECT_EQ(w->pnColor->Color(), c.style.Color);
                    EXPECT_EQ(w->neFS->FloatValue(), c.style.Size);
                }
                Esc(w);
            };
            if (textWindow) {
                RVpText text;
                text.StyleName = c.styleName;
                if (c.own)
                    text.OwnStyle = std::make_unique<TUserStyle>(c.style);
                EXPECT_EQ(TextDlg(text, [&](TFormSymbolTextProp* w) { check(w); }), mrCancel);
                EXPECT_EQ(text.StyleName, c.styleName);
                EXPECT_EQ(bool(text.OwnStyle), c.own);
            } else {
                RSemText rule;
                rule.StyleName = c.styleName;
                if (c.own)
                    rule.OwnStyle = std::make_unique<TUserStyle>(c.style);
                EXPECT_EQ(StyleDlg(rule, [&](TFormSelectTextStyle* w) { check(w); }), mrCancel);
                EXPECT_EQ(rule.StyleName, c.styleName);
                EXPECT_EQ(bool(rule.OwnStyle), c.own);
            }
        }
    }
}

// Switching to the font page turns the named style into an own style with the values the
// font page showed last, edits included.
TEST_F(TextStyleDialogs, FontPageConfirmedGivesAnOwnStyle)
{
    RSemText rule;
    rule.StyleName = QStringLiteral(">ОСНОВНОЙ");
    EXPECT_EQ(StyleDlg(rule, [](TFormSelectTextStyle* w) {
                  w->PageControl1->setCurrentWidget(w->csFont);
                  w->sbFB->click();
                  w->neFS->setText(QStringLiteral("3,25"));
                  QTest::mouseClick(w->btOk, Qt::LeftButton);
              }),
              mrOk);
    EXPECT_TRUE(rule.StyleName.isEmpty());
    ASSERT_TRUE(rule.OwnStyle);
    EXPECT_EQ(rule.OwnStyle->FontName, QStringLiteral("Liberation Sans"));
    EXPECT_EQ(rule.OwnStyle->Color, 0);
    EXPECT_EQ(double(rule.OwnStyle->Size), 3.25);
    EXPECT_EQ(rule.OwnStyle->FontStyle, fsBoldBit);

    // The text keeps its style name beside the own style.
    RVpText text;
    text.StyleName = QStringLiteral(">ОТМЕТКИ");
    EXPECT_EQ(TextDlg(text, [](TFormSymbolTextProp* w) {
                  w->PageControl1->setCurrentWidget(w->csFont);
                  w->eText->setText(QStringLiteral("Н"));
                  w->neAngle->setText(QStringLiteral("45,5"));
                  Enter(w);
              }),
              mrOk);
    EXPECT_EQ(text.StyleName, QStringLiteral(">ОТМЕТКИ"));
    ASSERT_TRUE(text.OwnStyle);
    EXPECT_EQ(text.OwnStyle->FontStyle, fsItalicBit);
    EXPECT_EQ(double(text.OwnStyle->Size), 1.8);
    EXPECT_EQ(text.Text, QStringLiteral("Н"));
    EXPECT_EQ(double(text.Angle), 45.5);
}

// Choosing a style copies it onto the font page and shows its comment; confirming on the
// style page names it and drops the own style.
TEST_F(TextStyleDialogs, ChosenStyleIsNamed)
{
    RSemText rule;
    rule.OwnStyle = std::make_unique<TUserStyle>(Own(QStringLiteral("DejaVu Sans"), 0xFF, 5, fsItalicBit));
    EXPECT_EQ(StyleDlg(rule, [](TFormSelectTextStyle* w) {
                  Review(w, "select-text-style.png");
                  w->PageControl1->setCurrentWidget(w->csStyle);
                  const int i = w->cbStyle->findText(QStringLiteral(">НОМЕРА"));
                  ASSERT_GE(i, 0);
                  w->cbStyle->setCurrentIndex(i);
                  emit w->cbStyle->activated(i);
                  EXPECT_EQ(w->FontSelector->FontName(), QStringLiteral("DejaVu Sans"));
                  EXPECT_TRUE(w->sbFB->isChecked());
                  EXPECT_FALSE(w->sbFI->isChecked());
                  EXPECT_EQ(w->neFS->text(), QStringLiteral("2.0"));
                  EXPECT_TRUE(w->Memo1->toPlainText().startsWith(QStringLiteral("Номера")))
                      << w->Memo1->toPlainText().toStdString();
                  Enter(w);
              }),
              mrOk);
    EXPECT_EQ(rule.StyleName, QStringLiteral(">НОМЕРА"));
    EXPECT_FALSE(rule.OwnStyle);
}

// Every way out but "Готово" leaves the record as it was, whatever was changed inside.
TEST_F(TextStyleDialogs, OnlyDoneWritesAnything)
{
    const std::function<void(QWidget*)> closes[] = {
        [](QWidget* w) { Esc(w); },
        [](QWidget* w) { CloseBox(w); },
        [](QWidget* w) {
            if (auto* s = qobject_cast<TFormSelectTextStyle*>(w))
                QTest::mouseClick(s->btCancel, Qt::LeftButton);
            else
                CloseBox(w);
        },
    };
    for (const auto& close : closes) {
        RVpText text;
        text.StyleName = QStringLiteral(">ОСНОВНОЙ");
        text.Text = QStringLiteral("А");
        EXPECT_EQ(TextDlg(text, [&](TFormSymbolTextProp* w) {
                      w->PageControl1->setCurrentWidget(w->csFont);
                      w->sbFU->click();
                      w->eText->setText(QStringLiteral("Б"));
                      close(w);
                  }),
                  mrCancel);
        EXPECT_EQ(text.StyleName, QStringLiteral(">ОСНОВНОЙ"));
        EXPECT_FALSE(text.OwnStyle);
        EXPECT_EQ(text.Text, QStringLiteral("А"));

        RSemText rule;
        rule.OwnStyle = std::make_unique<TUserStyle>(Own(QStringLiteral("DejaVu Sans"), 0, 2, 0));
        EXPECT_EQ(StyleDlg(rule, [&](TFormSelectTextStyle* w) {
                      w->PageControl1->setCurrentWidget(w->csStyle);
                      w->cbStyle->setCurrentIndex(0);
                      close(w);
                  }),
                  mrCancel);
        ASSERT_TRUE(rule.OwnStyle);
        EXPECT_EQ(rule.OwnStyle->FontName, QStringLiteral("DejaVu Sans"));
        EXPECT_TRUE(rule.StyleName.isEmpty());
    }
}

// Confirming the style page with no style chosen: there is no style to name, so the
// record keeps what it had (the window used to read a list entry that does not exist).
TEST_F(TextStyleDialogs, StylePageWithoutChoiceKeepsTheStyle)
{
    RSemText rule;
    rule.StyleName = QStringLiteral(">НЕТ ТАКОГО");
    EXPECT_EQ(StyleDlg(rule, [](TFormSelectTextStyle* w) { Enter(w); }), mrOk);
    EXPECT_EQ(rule.StyleName, QStringLiteral(">НЕТ ТАКОГО"));
    EXPECT_FALSE(rule.OwnStyle);

    RVpText text;
    text.StyleName = QStringLiteral(">НЕТ ТАКОГО");
    EXPECT_EQ(TextDlg(text, [](TFormSymbolTextProp* w) {
                  w->eText->setText(QStringLiteral("Ю"));
                  Enter(w);
              }),
              mrOk);
    EXPECT_EQ(text.StyleName, QStringLiteral(">НЕТ ТАКОГО"));
    EXPECT_EQ(text.Text, QStringLiteral("Ю"));
}

// The colour is chosen in the caption style window only; the text window shows it.
TEST_F(TextStyleDialogs, ColourDialogOfTheCaptionStyleWindow)
{
    int asked = 0;
    ColorDialogHook() = [&](std::int32_t& colour) {
        ++asked;
        colour = 0x00FF00;
        return true;
    };
    RSemText rule;
    EXPECT_EQ(StyleDlg(rule, [](TFormSelectTextStyle* w) {
                  w->PageControl1->setCurrentWidget(w->csFont);
                  QTest::mouseClick(w->pnColor, Qt::LeftButton);
                  EXPECT_EQ(w->pnColor->Color(), 0x00FF00);
                  Enter(w);
              }),
              mrOk);
    ASSERT_TRUE(rule.OwnStyle);
    EXPECT_EQ(rule.OwnStyle->Color, 0x00FF00);

    RVpText text;
    EXPECT_EQ(TextDlg(text, [](TFormSymbolTextProp* w) {
                  QTest::mouseClick(w->pnColor, Qt::LeftButton);
                  Esc(w);
              }),
              mrCancel);
    EXPECT_EQ(asked, 1);
    ColorDialogHook() = nullptr;
}

}  // namespace
