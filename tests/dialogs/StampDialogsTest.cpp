// The stamp and frame windows: a named-text list read into the fields and rebuilt from
// them however the window closes, and the stamp corners written back.
#include "DialogsTestSupport.h"

#include "dialogs/stamps/UnitStamp.h"
#include "foundation/ui/NumEdit.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QGroupBox>
#include <QPushButton>

namespace {

class StampWindows : public ::testing::Test {
protected:
    void SetUp() override { InstallStampDialogWindows(); }
    TScopedProgramDialogHooks Scope;
    std::array<QString, 18> Last;
};

QString S(const char* text) { return QString::fromUtf8(text); }

}  // namespace

TEST(StampLines, KeyBeforeTheFirstPercentValueAfterIt)
{
    struct Case {
        const char* Line;
        bool Read;
        const char* Key;
        bool HasValue;
        const char* Value;
    };
    const Case cases[] = {
        {"^заказ%12-05", true, "заказ", true, "12-05"},
        {"^заказ%", true, "заказ", false, ""},
        {"^заказ% ", true, "заказ", true, " "},
        {"^дата%1%2", true, "дата", true, "1%2"},   // the first "%" ends the key
        {"^%x", true, "", true, "x"},
        {"^заказ", false, "", false, ""},            // no "%": skipped
        {"^", false, "", false, ""},                 // one character
        {"", false, "", false, ""},
        {"#лист%5", true, "лист", true, "5"},        // the first character is not looked at
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Line);
        RNamedTextLine read;
        ASSERT_EQ(ReadNamedTextLine(S(c.Line), read), c.Read);
        if (!c.Read)
            continue;
        EXPECT_EQ(read.Key, S(c.Key));
        EXPECT_EQ(read.HasValue, c.HasValue);
        EXPECT_EQ(read.Value, S(c.Value));
    }
}

TEST_F(StampWindows, StampFieldsFromTheListAndTheRememberedTexts)
{
    Last[7] = S("12-05");
    Last[17] = S("01.03.2024");
    Last[0] = S("ООО «Кадастр»");
    QStringList list = {S("^заказ%"),            // no value: the remembered text
                        S("^дата%"),
                        S("^предприятие%ГУП «Топограф»"),
                        S("^объект1%Жилой дом"),
                        S("^объект1%Школа"),      // the last duplicate wins
                        S("^неизвестный%x"),      // a key the window does not know
                        S("заказчик"),            // no "%"
                        S("^масштаб%1:500")};
    TModalScript script;
    script.Then("TFormStamp", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), S("Настройка штампа"));
        EXPECT_EQ(Control<QLineEdit>(w, "eZak")->text(), S("12-05"));
        EXPECT_EQ(Control<QLineEdit>(w, "eOrg")->text(), S("ГУП «Топограф»"));
        EXPECT_EQ(Control<QLineEdit>(w, "eObj1")->text(), S("Школа"));
        EXPECT_FALSE(Control<QLineEdit>(w, "eZakazch")->isEnabled());
        EXPECT_FALSE(Control<QLineEdit>(w, "eDir")->isEnabled());
        EXPECT_TRUE(Control<QLineEdit>(w, "eDate")->isEnabled());
        const auto groups = w->findChildren<QGroupBox*>();
        ASSERT_EQ(groups.size(), 2);
        EXPECT_EQ(groups[0]->title(), S("Организация"));
        EXPECT_EQ(groups[1]->title(), S("Объект"));
        auto* date = Control<QLineEdit>(w, "eDate");
        date->setFocus();
        date->selectAll();
        QTest::keyClick(date, Qt::Key_Delete);   // cleared
        SaveWindowPicture(w, QStringLiteral("StampWindow"));
        Click(w, "Button1");
    });
    EXPECT_EQ(StampDlg(list, Last), mrOk);
    EXPECT_TRUE(script.Done());
    EXPECT_EQ(list, QStringList({S("^предприятие%ГУП «Топограф»"), S("^заказ%12-05"), S("^объект1%Школа"),
                                 S("^масштаб%1:500"), S("^дата% ")}));
    // Only the stamp's own fields are remembered: the director's text stays.
    EXPECT_EQ(Last[0], S("ГУП «Топограф»"));
    EXPECT_EQ(Last[7], S("12-05"));
    EXPECT_EQ(Last[8], S("Школа"));
    EXPECT_EQ(Last[17], QString());
}

TEST_F(StampWindows, TemplateWithFewerKeysKeepsTheOtherRememberedTexts)
{
    // The remembered texts of keys this stamp lacks were erased by every use.
    for (std::size_t i = 0; i < Last.size(); ++i)
        Last[i] = QStringLiteral("т%1").arg(i);
    QStringList list = {S("^лист%2")};
    TModalScript script;
    script.Then("TFormStamp", [](QWidget* w) { Enter(w); });
    EXPECT_EQ(StampDlg(list, Last), mrOk);
    EXPECT_EQ(list, QStringList({S("^лист%2")}));
    EXPECT_EQ(Last[15], S("2"));
    EXPECT_EQ(Last[0], S("т0"));
    EXPECT_EQ(Last[17], S("т17"));
}

TEST_F(StampWindows, CloseBoxAndEscKeepTheEditsAsReadyDoes)
{
    for (const int how : {0, 1, 2}) {
        SCOPED_TRACE(how);
        QStringList stampList = {S("^заказ%1")};
        TModalScript script;
        script.Then("TFormStamp", [how](QWidget* w) {
            TypeInto(w, "eZak", S("2"));
            how == 0 ? Enter(w) : how == 1 ? Esc(w) : CloseBox(w);
        });
        StampDlg(stampList, Last);
        EXPECT_EQ(stampList, QStringList({S("^заказ%2")}));
        QStringList frameList = {S("^гриф%")};
        TModalScript frameScript;
        frameScript.Then("TFormRamka", [how](QWidget* w) {
            TypeInto(w, "eGrif", S("секретно"));
            how == 0 ? Enter(w) : how == 1 ? Esc(w) : CloseBox(w);
        });
        RamkaDlg(frameList);
        EXPECT_EQ(frameList, QStringList({S("^гриф%секретно")}));
    }
}

TEST_F(StampWindows, FieldsRefuseWhatNoCommandCanCarry)
{
    // A "<" in a field would have stopped the named texts half-way through the plan.
    QStringList list = {S("^заказ%<12>"), S("^дата%")};
    TModalScript script;
    script.Then("TFormStamp", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "eZak")->text(), S("12"));
        TypeInto(w, "eDate", S("1<2>3✓4"));
        EXPECT_EQ(Control<QLineEdit>(w, "eDate")->text(), S("1234"));
        Enter(w);
    });
    StampDlg(list, Last);
    EXPECT_EQ(list, QStringList({S("^заказ%12"), S("^дата%1234")}));
}

TEST_F(StampWindows, FrameFieldsStartingTextsAndOrder)
{
    QStringList list = {S("^номенклатура%12-А-05"),
                        S("^масштаб%"),                 // no value: the starting text stays
                        S("^xсев%6123250"),
                        S("^номенклатура%12-А-5"),      // the later line wins
                        S("^директор%"),                // no value, no starting text: a blank
                        S("^высота сечения%через 1 м"),
                        S("^x1%6.1")};                  // a grid key no field shows
    TModalScript script;
    script.Then("TFormRamka", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), S("Настройка рамки планшета"));
        EXPECT_EQ(Control<QLineEdit>(w, "eNom")->text(), S("12-А-5"));
        EXPECT_EQ(Control<QLineEdit>(w, "eScale")->text(), S("1:500"));
        EXPECT_EQ(Control<QLineEdit>(w, "eYear")->text(), S("Съемка 2006г."));
        EXPECT_FALSE(Control<QLineEdit>(w, "eYear")->isEnabled());
        EXPECT_EQ(Control<QLineEdit>(w, "eXsev")->text(), S("6123250"));
        EXPECT_EQ(Control<QGroupBox>(w, "gbCoords")->title(), S("координаты"));
        EXPECT_EQ(Control<QGroupBox>(w, "gbNeighbours")->title(), S("соседние планшеты"));
        SaveWindowPicture(w, QStringLiteral("RamkaWindow"));
        Click(w, "Button1");
    });
    EXPECT_EQ(RamkaDlg(list), mrOk);
    EXPECT_EQ(list, QStringList({S("^директор% "), S("^масштаб%1:500"), S("^номенклатура%12-А-5"),
                                 S("^высота сечения%через 1 м"), S("^xсев%6123250")}));
    list = {S("^масштаб%1:2000")};
    TModalScript second;
    second.Then("TFormRamka", [](QWidget* w) {
        EXPECT_EQ(Control<QLineEdit>(w, "eScale")->text(), S("1:2000"));
        Enter(w);
    });
    RamkaDlg(list);
    EXPECT_EQ(list, QStringList({S("^масштаб%1:2000")}));
}

TEST_F(StampWindows, StampCornersWrittenBackWhateverTheResult)
{
    TSeparatorScope comma(QLatin1Char(','));
    Extended x1 = 130, y1 = 215, x2 = 100, y2 = 400;
    TModalScript script;
    script.Then("TFormInpStampLink", [](QWidget* w) {
        EXPECT_EQ(w->windowTitle(), S("Установка штампа"));
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit1")->text(), S("130,00"));
        EXPECT_EQ(Control<QLineEdit>(w, "NumEdit4")->text(), S("400,00"));
        const auto groups = w->findChildren<QGroupBox*>();
        ASSERT_EQ(groups.size(), 2);
        EXPECT_EQ(groups[0]->title(), S("Левый верхний угол"));
        EXPECT_EQ(groups[1]->title(), S("Правый нижний угол"));
        TypeInto(w, "NumEdit2", S("210.5"));
        TypeInto(w, "NumEdit3", S("абв"));   // no number: read as 0
        SaveWindowPicture(w, QStringLiteral("StampLinkWindow"));
        Enter(w);
    });
    EXPECT_EQ(InpStampLinkDlg(x1, y1, x2, y2), mrOk);
    EXPECT_EQ(double(x1), 130.0);
    EXPECT_EQ(double(y1), 210.5);
    EXPECT_EQ(double(x2), 0.0);
    EXPECT_EQ(double(y2), 400.0);
    TModalScript second;
    second.Then("TFormInpStampLink", [](QWidget* w) {
        TypeInto(w, "NumEdit1", S("99,5"));
        Esc(w);
    });
    EXPECT_EQ(InpStampLinkDlg(x1, y1, x2, y2), mrCancel);
    EXPECT_EQ(double(x1), 99.5);
}
