// What the tests of the two imports share: the plan-file run with the import fixtures
// beside the plan fixtures in the current folder, the classifier open (a layer
// question shows the object's readable semantics), and the plan's commands.
#pragma once

#include "PlanFileTest.h"

#include "semantics/codec/SemServices.h"

#include <optional>
#include <ostream>

// A point compared exactly, as the reader must give the values of its file.
inline bool SameGeoPoint(const TGeoPoint& a, const TGeoPoint& b) { return a.X == b.X && a.Y == b.Y; }
#define EXPECT_POINT(a, x, y) EXPECT_TRUE(SameGeoPoint((a), GeoPoint((x), (y)))) \
    << double((a).X) << " " << double((a).Y)

class ImportFixture : public PlanFileFixture {
protected:
    void SetUp() override
    {
        PlanFileFixture::SetUp();
        CopyDataFolder(QStringLiteral("Семантика"), Folder());
        Semantics.emplace();
        Semantics->Open();
        for (const QString& name : QDir(QStringLiteral(VELMORA_TEST_FIXTURES "/import")).entryList(QDir::Files)) {
            QFile::remove(Plans + name);
            ASSERT_TRUE(QFile::copy(QStringLiteral(VELMORA_TEST_FIXTURES "/import/") + name, Plans + name));
        }
    }
    void TearDown() override
    {
        PlanFileFixture::TearDown();
        Semantics.reset();
    }

    void Run(const QString& line) { M().StrToComm(line); }
    QString Fails(const QString& line)
    {
        return RaisedBy([&] { M().StrToComm(line); });
    }

    // A file of lines in the code page given, CR LF.
    void WriteLines(const QString& name, const QStringList& lines, TCodePage cp = TCodePage::Cp1251)
    {
        WriteBytes(PlanPath(name), EncodeCodePage(JoinLinesCrLf(lines), cp));
    }

    // The sheet of that name, the layer of that name in it.
    RGPage& Sheet(const QString& name)
    {
        for (const auto& page : M().Pages)
            if (page->Name == name)
                return *page;
        ADD_FAILURE() << "no sheet " << name.toStdString();
        return *M().Pages.At(0);
    }
    RGLayer* Layer(const QString& sheet, const QString& layer)
    {
        for (const auto& l : Sheet(sheet).Layers)
            if (l->Name == layer)
                return l.get();
        return nullptr;
    }
    QStringList LayerNamesOf(const QString& sheet)
    {
        QStringList names;
        for (const auto& l : Sheet(sheet).Layers)
            names.append(l->Name);
        return names;
    }
    // Layer questions asked so far.
    int LayerQuestions() const
    {
        int n = 0;
        for (const auto& a : Files.Asked)
            n += a.Kind == QLatin1String("SelStr");
        return n;
    }

    // Open, save, reopen the saved file, save again: both saves must be the same bytes.
    void ExpectSameAfterSaveAndReopen(const QString& openLine)
    {
        Run(openLine);
        const QByteArray imported = Native();
        Run(QStringLiteral("mcSaveMap=<first.500><New>"));
        Run(QStringLiteral("mcOpenMap=<first.500><New><True><>"));
        EXPECT_EQ(DecodeCodePage(Native()).toStdString(), DecodeCodePage(imported).toStdString());
        Run(QStringLiteral("mcSaveMap=<second.500><New>"));
        EXPECT_EQ(FileBytes(PlanPath(QStringLiteral("second.500"))),
                  FileBytes(PlanPath(QStringLiteral("first.500"))));
    }

    std::optional<TSemServices> Semantics;
};
