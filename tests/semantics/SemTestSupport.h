// A private copy of our classifier for each test (the codec writes into its folder),
// the program folder pointed at it, and the classifier loaded into a services object.
#pragma once

#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "platform/CodePage.h"
#include "semantics/SemServices.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include <ostream>

// Readable failures: gtest prints QString through this.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

inline QByteArray ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

inline void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    f.write(bytes);
}

inline QByteArray Cp1251(const QStringList& lines)
{
    return EncodeCodePage(JoinLinesCrLf(lines));
}

class SemFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(Tmp.isValid());
        const QString source = QStringLiteral(VELMORA_SOURCE_DATA "/Семантика");
        QDir(Tmp.path()).mkdir(QStringLiteral("Семантика"));
        for (const QString& name : QDir(source).entryList(QDir::Files))
            ASSERT_TRUE(QFile::copy(source + u'/' + name, Folder() + name));
        SavedProgramFolder = ProgramFolder;
        ProgramFolder = Tmp.path() + u'/';
        SavedSeparator = DecimalSeparator;
        DecimalSeparator = u'.';
        Services = std::make_unique<TSemServices>();
        Services->Open();
    }

    void TearDown() override
    {
        Services.reset();
        ProgramFolder = SavedProgramFolder;
        DecimalSeparator = SavedSeparator;
    }

    QString Folder() const { return Tmp.path() + QStringLiteral("/Семантика/"); }
    TSemCodec& Codec() { return Services->Codec; }

    QTemporaryDir Tmp;
    std::unique_ptr<TSemServices> Services;
    QString SavedProgramFolder;
    QChar SavedSeparator;
};

// Messages shown through the message window, answered with a fixed result.
struct TMessageLog {
    QStringList Captions;
    QStringList Texts;
    TModalResult Answer = mrOk;

    TDialogHooks Hooks()
    {
        TDialogHooks h;
        h.ShowMsg = [this](const QString& caption, const QString& text) {
            Captions << caption;
            Texts << text;
            return Answer;
        };
        return h;
    }
};
