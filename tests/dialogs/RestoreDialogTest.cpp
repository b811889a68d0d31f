// The recovery window on a run tree of its own: what it preselects and lists, the file a
// restore hands back, and which date folders the deletion takes.
#include "DialogsTestSupport.h"

#include "controls/TextListBox.h"
#include "dialogs/file/UnitRestore.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/NumEdit.h"

#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>

namespace {

int Days(int day, int month, int year) { return (year * 12 + month) * 30 + day; }

QStringList Items(const QComboBox* combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList Items(const TTextListBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}

// "Пользователи" with two computers; the user "иван" of "ПК-1" has runs on three dates,
// his settings and recent list beside them.
class RunTree : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Dir.isValid());
        Users = Dir.path() + QStringLiteral("/Пользователи");
        User = Users + QStringLiteral("/ПК-1/иван");
        for (const char* path : {"/ПК-1/иван/01.03.2025/08.00.00/08.00.01 без имени",
                                 "/ПК-1/иван/15.04.2026/09.00.00/09.00.00 без имени",
                                 "/ПК-1/иван/15.04.2026/11.30.00/11.30.05 план.500",
                                 "/ПК-1/иван/15.04.2026/11.30.00/Errors",
                                 "/ПК-1/иван/31.03.2026/10.00.00", "/ПК-1/мария/15.04.2026",
                                 "/ПК-2/петр/14.04.2026"})
            ASSERT_TRUE(QDir().mkpath(Users + QString::fromUtf8(path)));
        for (const char* file : {"/ПК-1/иван/Настройки.ini", "/ПК-1/иван/Последние файлы.wri",
                                 "/ПК-1/иван/15.04.2026/11.30.00/11.30.05 план.500/1.500",
                                 "/ПК-1/иван/15.04.2026/11.30.00/11.30.05 план.500/2.500"}) {
            QFile f(Users + QString::fromUtf8(file));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        }
    }
    bool Exists(const char* path) const { return QFileInfo::exists(User + QString::fromUtf8(path)); }

    QTemporaryDir Dir;
    QString Users, User;
    TScopedDialogHooks Hooks;
};

}  // namespace

TEST(DateFolderDays, CountsEveryMonthAsThirtyDaysAndRefusesWhatIsNoDate)
{
    struct Case {
        const char* text;
        int days;
    };
    const Case cases[] = {
        {"01.03.2025", Days(1, 3, 2025)}, {"15.04.2026", Days(15, 4, 2026)},
        {"31.03.2026", Days(1, 4, 2026)},   // the 31st is the next month's 1st
        {"1.3.2025", -1},    {"Errors", -1}, {"", -1}, {"Настройки.ini", -1},
        {"ab.04.2026", -1},  {"15.xx.2026", -1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(DateFolderDays(QString::fromUtf8(c.text)), c.days);
    }
    EXPECT_EQ(DateFolderDays(QStringLiteral("15.04.2026")) - DateFolderDays(QStringLiteral("01.03.2025")), 404);
}

TEST_F(RunTree, PreselectsTheRunningComputerUserLastDateAndLastRun)
{
    TFormRestore window(Users, QStringLiteral("ПК-1"), QStringLiteral("иван"), QStringLiteral("15.04.2026"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Восстановление данных"));
    EXPECT_EQ(Items(window.ComboBox1), (QStringList{QStringLiteral("ПК-1"), QStringLiteral("ПК-2")}));
    EXPECT_EQ(window.ComboBox1->currentText(), QStringLiteral("ПК-1"));
    EXPECT_EQ(window.ComboBox2->currentText(), QStringLiteral("иван"));
    // Only folders are dates: the settings and the recent list stay out.
    EXPECT_EQ(Items(window.ComboBox3),
              (QStringList{QStringLiteral("01.03.2025"), QStringLiteral("15.04.2026"), QStringLiteral("31.03.2026")}));
    EXPECT_EQ(window.ComboBox3->currentText(), QStringLiteral("31.03.2026")) << "the last by name";
    window.ComboBox3->setCurrentIndex(1);
    EXPECT_EQ(Items(window.ComboBox4), (QStringList{QStringLiteral("09.00.00"), QStringLiteral("11.30.00")}));
    EXPECT_EQ(window.ComboBox4->currentText(), QStringLiteral("11.30.00"));
    EXPECT_EQ(Items(window.TextListBox1), QStringList{QStringLiteral("11.30.05 план.500")}) << "no crash reports";
    EXPECT_EQ(window.TextListBox2->count(), 0);

    window.TextListBox1->item(0)->setSelected(true);
    window.TextListBox1->OnClick();
    EXPECT_EQ(Items(window.TextListBox2), (QStringList{QStringLiteral("1.500"), QStringLiteral("2.500")}));
    window.TextListBox2->setCurrentRow(1);
    window.show();
    SaveWindowPicture(&window, QStringLiteral("Restore"));
    window.BitBtn1Click();
    EXPECT_EQ(window.RestoreFile, User + QStringLiteral("/15.04.2026/11.30.00/11.30.05 план.500/2.500"));
    EXPECT_EQ(window.result(), mrOk);

    // Another computer: its users are listed, none of them preselected, nothing below.
    window.ComboBox1->setCurrentIndex(1);
    EXPECT_EQ(Items(window.ComboBox2), QStringList{QStringLiteral("петр")});
    EXPECT_EQ(window.ComboBox2->currentIndex(), -1);
    EXPECT_EQ(window.ComboBox3->count(), 0);
    EXPECT_EQ(window.TextListBox1->count(), 0);
    EXPECT_EQ(window.TextListBox2->count(), 0);
}

TEST_F(RunTree, RestoreWithoutAChosenFileGivesNoFile)
{
    TFormRestore window(Users, QStringLiteral("ПК-1"), QStringLiteral("иван"), QStringLiteral("15.04.2026"));
    window.BitBtn1Click();
    EXPECT_TRUE(window.RestoreFile.isEmpty());
    TFormRestore unknown(Users, QStringLiteral("ПК-9"), QStringLiteral("иван"), QStringLiteral("15.04.2026"));
    EXPECT_EQ(unknown.ComboBox1->currentIndex(), -1);
    EXPECT_EQ(unknown.ComboBox2->count(), 0);
    unknown.show();
    SaveWindowPicture(&unknown, QStringLiteral("RestoreNothingChosen"));
    TFormRestore none(Dir.path() + QStringLiteral("/нет"), QStringLiteral("ПК-1"), QStringLiteral("иван"),
                      QStringLiteral("15.04.2026"));
    EXPECT_EQ(none.ComboBox1->count(), 0);
    none.BitBtn1Click();
    EXPECT_TRUE(none.RestoreFile.isEmpty());
}

TEST_F(RunTree, DeletesOnlyDateFoldersOlderThanTheDaysAndNeverToday)
{
    std::vector<QString> messages;
    DialogHooks().ShowMsg = [&](const QString& caption, const QString&) {
        messages.push_back(caption);
        return mrOk;
    };
    TFormRestore window(Users, QStringLiteral("ПК-1"), QStringLiteral("иван"), QStringLiteral("15.04.2026"));
    struct Step {
        const char* days;
        bool old, lastMonth;   // 01.03.2025 and 31.03.2026 still there after
    };
    // 01.03.2025 is 404 days older, 31.03.2026 is 14.
    const Step steps[] = {{"500", true, true}, {"-1", true, true}, {"30", false, true}, {"0", false, false}};
    for (const Step& s : steps) {
        SCOPED_TRACE(s.days);
        window.NumEdit1->setText(QString::fromUtf8(s.days));
        window.Button1Click();
        EXPECT_EQ(Exists("/01.03.2025"), s.old);
        EXPECT_EQ(Exists("/31.03.2026"), s.lastMonth);
        EXPECT_TRUE(Exists("/15.04.2026/11.30.00/11.30.05 план.500/2.500")) << "today's run stays";
        EXPECT_TRUE(Exists("/Настройки.ini"));
        EXPECT_TRUE(Exists("/Последние файлы.wri"));
    }
    EXPECT_EQ(messages, std::vector<QString>{QStringLiteral("Число дней не может быть отрицательным")});
    EXPECT_TRUE(QFileInfo::exists(Users + QStringLiteral("/ПК-1/мария/15.04.2026"))) << "only the chosen user";
}

TEST_F(RunTree, OnTheFirstOfAMonthTheThirtyFirstBeforeItIsNotOlder)
{
    ASSERT_TRUE(QDir().mkpath(User + QStringLiteral("/01.04.2026")));
    TFormRestore window(Users, QStringLiteral("ПК-1"), QStringLiteral("иван"), QStringLiteral("01.04.2026"));
    window.NumEdit1->setText(QStringLiteral("0"));
    window.Button1Click();
    EXPECT_TRUE(Exists("/31.03.2026"));
    EXPECT_TRUE(Exists("/01.04.2026"));
    EXPECT_TRUE(Exists("/15.04.2026")) << "a later date is no older";
    EXPECT_FALSE(Exists("/01.03.2025"));
}
