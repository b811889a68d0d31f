#include "BenchEnv.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

namespace {

TBenchEnv* Current = nullptr;   // link, not owned

} // namespace

QByteArray ReadWholeFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл ") + fileName + QStringLiteral(": ") +
                        file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception(QStringLiteral("Не удается прочитать файл ") + fileName + QStringLiteral(": ") +
                        file.errorString());
    return bytes;
}

TBenchEnv::TBenchEnv(const TBenchOptions& options) : SavedProgramFolder(GetProgramFolder())
{
    if (!Dir.isValid())
        throw Exception(QStringLiteral("Не удается создать временную папку: ") + Dir.errorString());
    Program = Dir.filePath(QStringLiteral("program")) + u'/';
    Out = Dir.filePath(QStringLiteral("out")) + u'/';
    const QString data = QStringLiteral(VELMORA_SOURCE_DATA);
    if (!CopyTree(data, Program) || !QDir().mkpath(Out))
        throw Exception(QStringLiteral("Не удается скопировать справочные данные ") + data +
                        QStringLiteral(" в ") + Program);
    SetProgramFolder(Program);
    InitAppGlobalVar();

    if (options.PlanFile.isEmpty()) {
        Name = options.PlanSize;
        Plan = Dir.filePath(Name + QStringLiteral(".500"));
        const TPlanGenerator generator(PlanShapeByName(Name), LoadSemanticsPool(Program));
        Stats = generator.WriteFile(Plan);
    } else {
        Plan = QFileInfo(options.PlanFile).absoluteFilePath();
        Name = QFileInfo(Plan).fileName();
        bool ok = false;
        PlanScale = QFileInfo(Plan).suffix().toInt(&ok);
        if (!ok || PlanScale <= 0)
            throw Exception(QStringLiteral("Расширение файла плана должно быть масштабом (500): ") + Plan);
    }
    const QByteArray bytes = ReadWholeFile(Plan);
    Bytes = bytes.size();
    if (Bytes <= 0)
        throw Exception(QStringLiteral("Нет файла плана ") + Plan);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (i == 0 || bytes[i - 1] == '\n') {
            ++Lines;
            if (bytes[i] == '$')
                ++Pairs;
        }
    }
    Current = this;
}

TBenchEnv::~TBenchEnv()
{
    Current = nullptr;
    FreeAppGlobalVar();
    SetProgramFolder(SavedProgramFolder);
}

TBenchEnv& TBenchEnv::Get()
{
    if (!Current)
        throw Exception(QStringLiteral("Окружение замеров не создано"));
    return *Current;
}
