// The sign-editor and small classifier entries without their windows, and the decoding
// and exclusion services the main window reaches through the classifier window.
#include "editors/EditorDialogs.h"
#include "editors/classifier/UnitSemDialog.h"
#include "semantics/codec/SemDialogs.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <gtest/gtest.h>

namespace {

TEST(EditorSeams, WithoutWindowsEveryEntryAnswersCancelAndChangesNothing)
{
    TScopedEditorDialogHooks none;
    EXPECT_EQ(SymbolManagerDlg(500), mrCancel);
    EXPECT_EQ(EditSymbolDlg(QStringLiteral("/знаки/ПУН.wri"), 500, 0), mrCancel);
    EXPECT_EQ(ChangeSemDlg(), mrCancel);
    int first = 3, last = 9;
    Extended increment = 0.25L;
    QString code = QStringLiteral("ОТА");
    EXPECT_EQ(ChangeHinSemDlg(first, last, increment, code), mrCancel);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 9);
    EXPECT_EQ(increment, 0.25L);
    EXPECT_EQ(code, QStringLiteral("ОТА"));
}

TEST(EditorSeams, HookReceivesTheArgumentsAndItsAnswerReachesTheCaller)
{
    TEditorDialogHooks hooks;
    QStringList calls;
    hooks.SymbolManagerDlg = [&](int scale) {
        calls << QStringLiteral("manager %1").arg(scale);
        return mrOk;
    };
    hooks.EditSymbolDlg = [&](const QString& file, int scale, int kind) {
        calls << QStringLiteral("sign %1 %2 %3").arg(file).arg(scale).arg(kind);
        return mrOk;
    };
    hooks.ChangeHinSemDlg = [&](int& first, int& last, Extended& increment, QString& code) {
        first = 1, last = 5, increment = -0.5L, code = QStringLiteral("ПКТ");
        return mrOk;
    };
    TScopedEditorDialogHooks scope(hooks);
    EXPECT_EQ(SymbolManagerDlg(2000), mrOk);
    EXPECT_EQ(EditSymbolDlg(QStringLiteral("a.wri"), 500, 2), mrOk);
    EXPECT_EQ(calls, QStringList({QStringLiteral("manager 2000"), QStringLiteral("sign a.wri 500 2")}));
    int first = 0, last = 0;
    Extended increment = 0;
    QString code = QStringLiteral("ОТА");
    EXPECT_EQ(ChangeHinSemDlg(first, last, increment, code), mrOk);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 5);
    EXPECT_EQ(increment, -0.5L);
    EXPECT_EQ(code, QStringLiteral("ПКТ"));
    EXPECT_EQ(ChangeSemDlg(), mrCancel);   // its member left empty
}

TEST(EditorSeams, SemDlgWritesKindAndSemanticsBackOnlyOnOk)
{
    for (const int answer : {1, 2, 0, 4}) {
        SCOPED_TRACE(answer);
        TSemDialogHooks hooks;
        hooks.SemDlg = [answer](int, int& lmode, QString& sem) {
            lmode = 2;
            sem = QStringLiteral("ЗДН/Ф001");
            return answer;
        };
        TScopedSemDialogHooks scope(hooks);
        int lmode = 0;
        QString sem = QStringLiteral("ПУН");
        EXPECT_EQ(SemDlg(1, lmode, sem), answer);
        EXPECT_EQ(lmode, answer == 1 ? 2 : 0);
        EXPECT_EQ(sem, answer == 1 ? QStringLiteral("ЗДН/Ф001") : QStringLiteral("ПУН"));
    }
}

// The classifier window on a copy of the classifier, as the main window reaches it.
class ClassifierServices : public ::testing::Test {
protected:
    void SetUp() override { CreateFormSemDialog(); }
    void TearDown() override { FreeFormSemDialog(); }

    TTestRun Run{{QStringLiteral("Семантика")}};
    TScopedSemDialogHooks SemHooks;
};

TEST_F(ClassifierServices, Decode2OnTheWindowDecodesWithoutAnyQuestion)
{
    ASSERT_NE(FormSemDialog(), nullptr);
    int asked = 0;
    const auto classifier = SemDialogHooks().SemDlg;
    SemDialogHooks().SemDlg = [&](int smode, int& lmode, QString& sem) {
        ++asked;
        return classifier(smode, lmode, sem);
    };
    struct Case {
        TLmode lm;
        const char* sem;
    } cases[] = {
        {lmPoint, "ПУН/Ф012"},
        {lmPoint, "ПКТ/ИН12;ИВ100.5"},
        {lmLine, "ДОР/Ф001"},
        {lmPolygon, "ЗДН/Ф001"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sem);
        const QString sem = QString::fromUtf8(c.sem);
        QString onWindow, plain;
        FormSemDialog()->decode2(c.lm, sem, onWindow);
        DecodeSem(c.lm, sem, plain);
        EXPECT_FALSE(onWindow.isEmpty());
        EXPECT_EQ(onWindow, plain);
    }
    EXPECT_EQ(asked, 0);
}

TEST_F(ClassifierServices, ExclusionsGoToTheirThreeFilesAndComeBack)
{
    TSemCodec& codec = FormSemDialog()->Codec();
    const QString folder = Run.Folder() + QStringLiteral("Семантика/");
    const struct {
        const char* file;
        QByteArray bytes;   // code page 1251
        const char* item;
    } kinds[] = {
        {"Исключения-Точечные.wri", "\xcf\xd3\xcd/\xd4" "999\r\n", "ПУН/Ф999"},
        {"Исключения-Линейные.wri", "\xc4\xce\xd0/\xd4" "999\r\n", "ДОР/Ф999"},
        {"Исключения-Площадные.wri", "\xc7\xc4\xcd/\xd4" "999\r\n", "ЗДН/Ф999"},
    };
    for (const auto& k : kinds)
        WriteBytes(folder + QString::fromUtf8(k.file), k.bytes);
    FormSemDialog()->LoadExcludes();
    for (int lm = 0; lm < 3; ++lm)
        EXPECT_EQ(codec.SL[TSemCodec::slExcludes + lm], QStringList{QString::fromUtf8(kinds[lm].item)});
    for (const auto& k : kinds)
        ASSERT_TRUE(QFile::remove(folder + QString::fromUtf8(k.file)));
    FormSemDialog()->SaveExcludes();
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.file);
        EXPECT_EQ(FileBytes(folder + QString::fromUtf8(k.file)), k.bytes);
    }
}

}  // namespace
