// The splash component, the plain RTF reader and the licence-agreement window.
#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "foundation/ui/FirstStart.h"
#include "foundation/ui/PlainRtf.h"
#include "foundation/ui/ServDialogsWindows.h"
#include "foundation/ui/StartMark.h"
#include "support/ModalScript.h"
#include "support/TestHelpers.h"

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

TEST(Splash, CentredOnTheWholeScreen)
{
    EXPECT_EQ(SplashTopLeft(QSize(1024, 768), QSize(496, 323)), QPoint(264, 222));
    // An image larger than the screen gets a negative corner; halves go towards zero.
    EXPECT_EQ(SplashTopLeft(QSize(1024, 768), QSize(1100, 801)), QPoint(-38, -16));
}

TEST(Splash, ActivationShowsThePictureAndKeepsTheProgramAnswering)
{
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    TStartMark mark;
    mark.ShowTime = 1;
    mark.SetPicture(picture);
    mark.SetPicture(QImage());   // a null picture is ignored
    EXPECT_EQ(mark.GetPicture().size(), QSize(300, 200));

    bool answered = false;
    QTimer::singleShot(0, [&] { answered = true; });
    mark.SetActive(true);
    EXPECT_TRUE(answered);   // events were processed during the wait
    EXPECT_TRUE(mark.GetActive());
    ASSERT_NE(mark.Mark(), nullptr);
    EXPECT_EQ(mark.Mark()->size(), QSize(300, 200));
    EXPECT_EQ(mark.Mark()->Logo->Picture.pixel(5, 5), QColor(Qt::blue).rgb());
    EXPECT_TRUE(mark.Mark()->ProgressBar->isHidden());
    EXPECT_EQ(mark.Mark()->ProgressBar->maximum(), 100);

    mark.SetActive(false);   // only stored
    EXPECT_FALSE(mark.GetActive());
    EXPECT_NE(mark.Mark(), nullptr);
    mark.CloseMark();
    EXPECT_EQ(mark.Mark(), nullptr);
    mark.CloseMark();   // nothing left to free
}

TEST(PlainRtf, TextOfTheDocument)
{
    struct Case {
        const char* name;
        QByteArray rtf;
        QString text;
    };
    const Case cases[] = {
        {"paragraphs", "{\\rtf1\\ansi one\\par two\\par}", QStringLiteral("one\ntwo\n")},
        {"code page escapes", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", QStringLiteral("При")},
        {"raw code page bytes", QByteArray("{\\rtf1 ") + QByteArray("\xcf\xf0\xe8") + "}",
         QStringLiteral("При")},
        {"tables and destinations dropped",
         "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl ;\\red0\\green0\\blue0;}"
         "{\\*\\generator Writer;}{\\info{\\title T}}\\f0\\fs20 text}",
         QStringLiteral("text")},
        {"formatting words dropped, their blank too", "{\\rtf1 \\b bold\\b0  plain}",
         QStringLiteral("bold plain")},
        {"escaped braces and backslash", "{\\rtf1 a\\{b\\}c\\\\d}", QStringLiteral("a{b}c\\d")},
        {"unicode with fallback", "{\\rtf1\\uc1 \\u1046?x}", QStringLiteral("Жx")},
        {"negative unicode", "{\\rtf1\\uc1 \\u-3913?}", QString(QChar(0xF0B7))},
        {"line ends of the file are no text", "{\\rtf1 a\r\nb}", QStringLiteral("ab")},
        {"tab and line", "{\\rtf1 a\\tab b\\line c}", QStringLiteral("a\tb\nc")},
        {"dashes and quotes", "{\\rtf1 \\emdash\\ldblquote x\\rdblquote}",
         QStringLiteral("—“x”")},
        {"nothing after the document", "{\\rtf1 a}trailing", QStringLiteral("a")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RtfToPlainText(c.rtf), c.text);
    }
}

TEST(PlainRtf, WhatIsNoRtfIsRefused)
{
    const QByteArray bad[] = {
        "", "plain text", "{\\rtf1 never closed", "{\\rtf1 bad escape \\'zz}", "{\\rtf1 end\\",
    };
    for (const QByteArray& b : bad) {
        SCOPED_TRACE(b.toStdString());
        EXPECT_THROW(RtfToPlainText(b), Exception);
    }
}

TEST(PlainRtf, TheShippedLicenceReads)
{
    const QString text = ReadRtfFile(QStringLiteral(VELMORA_SOURCE_DATA "/лицензия.rtf"));
    EXPECT_TRUE(text.startsWith(QStringLiteral("Лицензионное соглашение\n")));
    EXPECT_TRUE(text.contains(QStringLiteral("«Не согласен»")));
    EXPECT_FALSE(text.contains(QLatin1Char('\\')));
    EXPECT_FALSE(text.contains(QLatin1Char('{')));
}

TEST(Licence, EnterAgreesAndEscDeclines)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DATA "/лицензия.rtf"),
                            folder.filePath(QStringLiteral("лицензия.rtf"))));
    const TProgramFolderScope program(folder.path());
    TScopedDialogHooks scope;
    InstallDialogWindows();

    const std::pair<TModalScript::TStep, TModalResult> cases[] = {{Enter, mrOk}, {Esc, mrCancel}};
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TFormFirstStart", act);
        EXPECT_EQ(FirstStartDlg(), expected);
    }

    TFormFirstStart form(LicenceFileName());
    EXPECT_TRUE(form.LicenceLoaded);
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Внимание!"));
    EXPECT_TRUE(form.LicenceText->toPlainText().startsWith(QStringLiteral("Лицензионное")));
}

TEST(Licence, MissingFileShowsANoticeAndBothAnswersWork)
{
    QTemporaryDir folder;
    const TProgramFolderScope program(folder.path());
    TScopedDialogHooks scope;
    InstallDialogWindows();

    TFormFirstStart form(LicenceFileName());
    EXPECT_FALSE(form.LicenceLoaded);
    EXPECT_TRUE(form.LicenceText->toPlainText().contains(QStringLiteral("лицензия.rtf")));

    const std::pair<TModalScript::TStep, TModalResult> cases[] = {{Enter, mrOk},
                                                                   {CloseBox, mrCancel}};
    for (const auto& [act, expected] : cases) {
        TModalScript script;
        script.Then("TFormFirstStart", act);
        EXPECT_EQ(FirstStartDlg(), expected);
    }
}

TEST(Licence, FileNameMatchesWhateverItsLetterCase)
{
    QTemporaryDir folder;
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_SOURCE_DATA "/лицензия.rtf"),
                            folder.filePath(QStringLiteral("ЛИЦЕНЗИЯ.RTF"))));
    const TProgramFolderScope program(folder.path());
    TFormFirstStart form(LicenceFileName());
    EXPECT_TRUE(form.LicenceLoaded);
}
