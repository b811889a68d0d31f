#include "engine/EngineTextFiles.h"

#include "foundation/ErrorTrail.h"
#include "platform/CodePage.h"
#include "platform/FileLookup.h"

#include <QFile>
#include <QSaveFile>

QStringList ReadTextFileLines(const QString& path)
{
    QFile file(ResolvePath(path));
    if (!file.open(QIODevice::ReadOnly))
        throw Exception(QStringLiteral("Не удается открыть файл \"%1\"").arg(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Exception(QStringLiteral("Не удается прочитать файл \"%1\"").arg(path));
    return SplitLines(DecodeCodePage(bytes));
}

void WriteTextFileLines(const QString& path, const QStringList& lines)
{
    const QString text = JoinLinesCrLf(lines);
    qsizetype bad = -1;
    const QByteArray bytes = EncodeCodePage(text, TCodePage::Cp1251, &bad);
    if (bad >= 0)
        throw Exception(QStringLiteral("Символ \"%1\" нельзя записать в файл \"%2\": "
                                       "в кодировке 1251 его нет")
                            .arg(text.at(bad), path));
    QSaveFile file(ResolvePath(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Не удается записать файл \"%1\": %2")
                            .arg(path, file.errorString()));
}
