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

void Review(QWidget& w, const char* name)
{
    const QByteArray dir = qgetenv("VELMORA_REVIEW_DIR");
    if (!dir.isEmpty())
        w.grab().save(QString::fromLocal8Bit(dir) + u'/' + QString::fromLatin1(name));
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
    EXPECT_EQ(OGZDialog(d, a, 0, 0, 0, 10), mrOk);
    EXPECT_NEAR(double(d), 10, 1e-12);
    EXPECT_NEAR(double(a), 90, 1e-12);

    // Filling the edits one by one stored the pair (1, 0)-(0, 0) on the way.
    pressEnter();
    EXPECT_EQ(OGZDialog(d, a, 1, 1, 1, 1), mrOk);
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

} // namespace
