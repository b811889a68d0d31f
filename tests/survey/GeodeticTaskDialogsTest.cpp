// The inverse-task and next-direction windows driven as a user: typing the values and
// reading the result edits. Setting VELMORA_REVIEW_DIR writes both windows there as PNGs.
#include "SurveyTestSupport.h"
#include "foundation/ui/NumEdit.h"
#include "survey/GeodeticTaskDialogs.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

void Type(TNumEdit* e, const QString& text)
{
    e->selectAll();
    e->del();
    QTest::keyClicks(e, text);
}

TEST(FormOGZDialog, DistanceAndDirectionBetweenTypedPoints)
{
    struct Case {
        const char *x2, *y2;
        const char *d, *g, *m, *s, *g2, *mm, *g3;
    } cases[] = {
        {"-10", "0", "10.000", "180", "0", "0.0", "180", "0.00000000", "180.000000000000"},
        {"10", "10", "14.142", "45", "0", "0.0", "45", "0.00000000", "45.000000000000"},
        {"10,5", "0", "10.500", "0", "0", "0.0", "0", "0.00000000", "0.000000000000"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x2);
        TFormOGZDialog form;
        Type(form.neX2, QString::fromLatin1(c.x2));
        Type(form.neY2, QString::fromLatin1(c.y2));
        EXPECT_EQ(form.neD->text().replace(u',', u'.'), QString::fromLatin1(c.d));
        EXPECT_EQ(form.neAG->text(), QString::fromLatin1(c.g));
        EXPECT_EQ(form.neAM->text(), QString::fromLatin1(c.m));
        EXPECT_EQ(form.neAS->text().replace(u',', u'.'), QString::fromLatin1(c.s));
        EXPECT_EQ(form.neAG2->text(), QString::fromLatin1(c.g2));
        EXPECT_EQ(form.neAMM->text().replace(u',', u'.'), QString::fromLatin1(c.mm));
        EXPECT_EQ(form.neAG3->text().replace(u',', u'.'), QString::fromLatin1(c.g3));
    }
}

TEST(FormOGZDialog, EqualPointsShowZerosAndKeepTheStoredResult)
{
    TMessages messages;
    // The window closes itself with Enter as soon as it is shown.
    const auto pressEnter = [] {
        QTimer::singleShot(0, [] {
            if (QWidget* w = QApplication::activeModalWidget())
                QTest::keyClick(w, Qt::Key_Return);
        });
    };
    Extended d = -1, a = -1;
    pressEnter();
    EXPECT_EQ(TFormOGZDialog::Execute(d, a, 0, 0, 0, 10), mrOk);
    EXPECT_NEAR(double(d), 10, 1e-12);
    EXPECT_NEAR(double(a), 90, 1e-12);

    // Filling the edits one by one stored the pair (1, 0)-(0, 0) on the way.
    pressEnter();
    EXPECT_EQ(TFormOGZDialog::Execute(d, a, 1, 1, 1, 1), mrOk);
    EXPECT_NEAR(double(d), 10, 1e-12);
    EXPECT_NEAR(double(a), 90, 1e-12);

    TFormOGZDialog form;
    Type(form.neX1, QStringLiteral("5"));
    Type(form.neY2, QStringLiteral("-3"));
    Type(form.neY2, QStringLiteral("0"));
    Type(form.neX2, QStringLiteral("5"));
    for (TNumEdit* e : {form.neAG, form.neAM, form.neAG2})
        EXPECT_EQ(e->text(), QStringLiteral("0"));
    for (TNumEdit* e : {form.neD, form.neAS, form.neAMM, form.neAG3})
        EXPECT_EQ(e->text().remove(u'0').remove(u'.').remove(u','), QString());
    Type(form.neX2, QStringLiteral("1.25"));
    Type(form.neY2, QStringLiteral("-3"));
    Review(form, "ogz_dialog.png");
}

TEST(FormNextDirAngle, LeftRightAndTheResultAsTheNextStart)
{
    TFormNextDirAngle form;
    EXPECT_EQ(form.neAAG3->text(), QStringLiteral("0"));   // nothing computed yet
    Type(form.neAG, QStringLiteral("350"));
    Type(form.neBG, QStringLiteral("30"));
    EXPECT_EQ(form.neAAG->text(), QStringLiteral("200"));
    form.rbR->click();
    EXPECT_EQ(form.neAAG->text(), QStringLiteral("140"));
    form.rbL->click();
    EXPECT_EQ(form.neAAG->text(), QStringLiteral("200"));
    form.BitBtn2->click();
    EXPECT_EQ(form.neAG->text(), QStringLiteral("200"));
    EXPECT_EQ(form.neAAG->text(), QStringLiteral("50"));
    EXPECT_EQ(form.neAAG3->text().replace(u',', u'.'), QStringLiteral("50.000000000000"));
    Review(form, "next_dir_angle.png");
}

// Seconds that round to 60 were shown as 60″ instead of carrying into the minutes.
TEST(FormNextDirAngle, RoundedSecondsCarryIntoMinutesAndDegrees)
{
    TFormNextDirAngle form;
    Type(form.neAM, QStringLiteral("59"));
    Type(form.neAS, QStringLiteral("59.96"));
    Type(form.neBG, QStringLiteral("180"));
    EXPECT_EQ(form.neAAG->text(), QStringLiteral("1"));
    EXPECT_EQ(form.neAAM->text(), QStringLiteral("0"));
    EXPECT_EQ(form.neAAS->text().replace(u',', u'.'), QStringLiteral("0.0"));
}

QString Shown(TNumEdit* e)
{
    return e->text().replace(u',', u'.');
}

TEST(FormPGZDialog, TheThreeWaysOfGivingTheDirection)
{
    struct Case {
        const char* name;
        int way; // 0 previous point, 1 direction to point 1, 2 direction 1-2
        std::initializer_list<std::pair<TNumEdit* TFormPGZDialog::*, const char*>> typed;
        const char *x2, *y2, *dx, *dy, *g, *m, *s;
    } cases[] = {
        {"direction 1-2 of 90 degrees", 2,
         {{&TFormPGZDialog::A3g, "90"}, {&TFormPGZDialog::Xish, "100"},
          {&TFormPGZDialog::Yish, "100"}, {&TFormPGZDialog::S1, "10"}},
         "100.000", "110.000", "0.000", "10.000", "90", "0", "0"},
        {"a slope of 60 degrees halves the distance", 2,
         {{&TFormPGZDialog::A3g, "90"}, {&TFormPGZDialog::S1, "10"},
          {&TFormPGZDialog::V1g, "60"}},
         "0.000", "5.000", "0.000", "5.000", "90", "0", "0"},
        {"previous point south, left angle 180: straight on north", 0,
         {{&TFormPGZDialog::Xish, "10"}, {&TFormPGZDialog::B1g, "180"},
          {&TFormPGZDialog::S1, "5"}},
         "15.000", "0.000", "5.000", "0.000", "0", "0", "0"},
        {"direction to point 1 of 350, left angle 30", 1,
         {{&TFormPGZDialog::A1G, "350"}, {&TFormPGZDialog::B1g, "30"},
          {&TFormPGZDialog::S1, "2"}},
         "-1.879", "-0.684", "-1.879", "-0.684", "200", "0", "0"},
        // Seconds that round to 60 were shown as 60 instead of carrying.
        {"seconds a hair under 60 carry", 1,
         {{&TFormPGZDialog::A1G, "10"}, {&TFormPGZDialog::A1m, "59"},
          {&TFormPGZDialog::A1s, "59"}, {&TFormPGZDialog::B1g, "180"},
          {&TFormPGZDialog::B1s, "1"}, {&TFormPGZDialog::S1, "1"}},
         nullptr, nullptr, nullptr, nullptr, "11", "0", "0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TFormPGZDialog form;
        (c.way == 0 ? form.RbCoord : c.way == 1 ? form.rbDir : form.rb12)->click();
        for (const auto& [edit, text] : c.typed)
            Type(form.*edit, QString::fromLatin1(text));
        if (c.x2) {
            EXPECT_EQ(Shown(form.Xres), QString::fromLatin1(c.x2));
            EXPECT_EQ(Shown(form.Yres), QString::fromLatin1(c.y2));
            EXPECT_EQ(Shown(form.edx), QString::fromLatin1(c.dx));
            EXPECT_EQ(Shown(form.edy), QString::fromLatin1(c.dy));
        }
        EXPECT_EQ(form.A2g->text(), QString::fromLatin1(c.g));
        EXPECT_EQ(form.A2m->text(), QString::fromLatin1(c.m));
        EXPECT_EQ(form.A2s->text(), QString::fromLatin1(c.s));
    }
}

TEST(FormPGZDialog, BackCopiesPointTwoAndAnInvalidInputComputesNothing)
{
    TFormPGZDialog form;
    form.rb12->click();
    Type(form.A3g, QStringLiteral("90"));
    Type(form.S1, QStringLiteral("10"));
    form.BackCoord->click();
    EXPECT_EQ(Shown(form.Xish), QStringLiteral("0.000"));
    EXPECT_EQ(Shown(form.Yish), QStringLiteral("10.000"));
    EXPECT_EQ(Shown(form.Yres), QStringLiteral("20.000"));
    Type(form.S1, QStringLiteral("-"));
    EXPECT_EQ(Shown(form.Yres), QStringLiteral("20.000"));
    Type(form.S1, QStringLiteral("2.5"));
    Review(form, "pgz_dialog.png");
}

} // namespace
