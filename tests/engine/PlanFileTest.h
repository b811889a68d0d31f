// What the tests of the plan file and of the plan and file commands share: a run with a
// copy of the fixture plans as the current folder (the fixture's raster is named
// relative to it), the separator and version the fixture was written with, a scripted
// window that also records the reading progress, and the plan's native text as the
// oracle of "nothing changed".
#pragma once

#include "EngineFixture.h"

#include "engine/file/GeoMapFile.h"
#include "foundation/AppGlobalVar.h"
#include "platform/CodePage.h"
#include "platform/Platform.h"

#include <QBuffer>
#include <QDir>

// The window, recording what the reader does with the progress bar too.
class TPlanFileWindow : public TFakeEngineServices {
public:
    std::vector<TEngineProgressSetup> Setups;
    std::vector<int> Positions;

    void SetupProgress(TEngineProgressBar bar, const TEngineProgressSetup& setup) override
    {
        if (bar == TEngineProgressBar::Reading)
            Setups.push_back(setup);
    }
    void SetProgressPosition(TEngineProgressBar bar, int position) override
    {
        if (bar == TEngineProgressBar::Reading)
            Positions.push_back(position);
    }

    // The texts of the messages shown, in order.
    QStringList Messages() const
    {
        QStringList texts;
        for (const RAsked& a : Asked)
            if (a.Kind == QLatin1String("ShowMsg"))
                texts.append(a.Text);
        return texts;
    }
};

// Cyrillic lines of a test file written as the plan file is: code page 1251, CR LF.
inline QByteArray PlanBytes(const QStringList& lines)
{
    return EncodeCodePage(JoinLinesCrLf(lines));
}

class PlanFileFixture : public EngineFixture {
protected:
    void SetUp() override
    {
        EngineFixture::SetUp();
        SavedSeparator = DecimalSeparator;
        SavedVersion = AppVersion;
        SavedCurrent = QDir::currentPath();
        DecimalSeparator = QLatin1Char(',');
        AppVersion = QStringLiteral("6.07.11.08");
        Plans = Folder() + QStringLiteral("plans/");
        ASSERT_TRUE(CopyTree(QStringLiteral(VELMORA_TEST_FIXTURES "/plans"), Folder() + QStringLiteral("plans")));
        ASSERT_TRUE(QDir::setCurrent(Plans));
        Map = std::make_unique<TGeoMap>();
        Map->Services = &Files;
        InstallPlanFileCommands(*Map);
        LoadEverything(*Map);
    }

    void TearDown() override
    {
        QDir::setCurrent(SavedCurrent);
        DecimalSeparator = SavedSeparator;
        AppVersion = SavedVersion;
        EngineFixture::TearDown();
    }

    // The open filter as the main window resets it before every read.
    static void LoadEverything(TGeoMap& m)
    {
        m.OpenFilter = TOpenFilter();
        m.OpenFilter.LoadRastrs = 1;
        m.OpenFilter.LoadTexts = 1;
        m.OpenFilter.LoadPoints = 1;
        m.OpenFilter.LoadLines = 1;
        m.OpenFilter.LoadPolygons = 1;
    }

    TGeoMap& M() { return *Map; }

    // The signs fixture plan of 1:500, beside the program's sign library, fonts and
    // semantics, opened by the journal line of the open (no question from the library).
    void OpenSignsPlan()
    {
        for (const char* part : {"Условные знаки", "Шрифты", "Семантика"})
            CopyDataFolder(QString::fromUtf8(part), Folder());
        M().StrToComm(QStringLiteral("mcOpenMap=<signs.500><New><True><>"));
    }

    // The plan as its file would hold it.
    QByteArray Native(TGeoMap& m)
    {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        m.WriteDataToDevice(buffer);
        return buffer.data();
    }
    QByteArray Native() { return Native(M()); }

    QString PlanPath(const QString& name) const { return Plans + name; }
    void WritePlanFile(const QString& name, const QStringList& lines)
    {
        WriteBytes(PlanPath(name), PlanBytes(lines));
    }
    QByteArray Fixture() const { return FileBytes(Plans + QStringLiteral("full.500")); }

    TPlanFileWindow Files;
    QString Plans;

private:
    QChar SavedSeparator;
    QString SavedVersion;
    QString SavedCurrent;
};
