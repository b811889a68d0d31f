// A run of the program on a private copy of our classifier (the codec writes into its
// folder), with the classifier loaded into a services object.
#pragma once

#include "foundation/AppGlobalVar.h"
#include "foundation/ServDialogs.h"
#include "platform/CodePage.h"
#include "semantics/codec/SemServices.h"
#include "support/TestHelpers.h"
#include "support/TestRun.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <deque>
#include <memory>

#include <ostream>

// Readable failures: gtest prints QString through this.
inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

inline QByteArray Cp1251(const QStringList& lines)
{
    return EncodeCodePage(JoinLinesCrLf(lines));
}

class SemFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        Run = std::make_unique<TTestRun>(QStringList{QStringLiteral("Семантика")});
        Services = std::make_unique<TSemServices>();
        Services->Open();
    }

    void TearDown() override
    {
        Services.reset();
        Run.reset();
    }

    QString ProgramPath() const { return Run->Folder(); }
    QString Folder() const { return Run->Folder() + QStringLiteral("Семантика/"); }
    TSemCodec& Codec() { return Services->Codec; }

    std::unique_ptr<TTestRun> Run;
    std::unique_ptr<TSemServices> Services;
    TSeparatorScope Separators{u'.'};
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
