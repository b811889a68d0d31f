#include "platform/TextFiles.h"

#include "foundation/ErrorTrail.h"
#include "platform/CodePage.h"
#include "platform/FileLookup.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

QStringList ReadTextFileLines(const QString& path, bool loneCrEndsLine)
{
    QFile file(ResolvePath(path));
    const auto refuse = [&] {
        return Exception(QStringLiteral("Не удается прочитать файл ") + file.fileName() +
                         QStringLiteral(": ") + file.errorString());
    };
    if (!file.open(QIODevice::ReadOnly))
        throw refuse();
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw refuse();
    return SplitLines(DecodeCodePage(bytes), loneCrEndsLine);
}

QByteArray EncodeTextFileLines(const QString& path, const QStringList& lines)
{
    for (const QString& line : lines)
        if (line.contains(u'\r') || line.contains(u'\n'))
            throw Exception(QStringLiteral("Строка \"") + line +
                            QStringLiteral("\" содержит перевод строки и не может быть записана в файл ") +
                            path);
    const QString text = JoinLinesCrLf(lines);
    qsizetype bad = -1;
    QByteArray bytes = EncodeCodePage(text, TCodePage::Cp1251, &bad);
    if (bad >= 0)
        throw Exception(QStringLiteral("Знак \"") + text[bad] +
                        QStringLiteral("\" не может быть записан в файл ") + path +
                        QStringLiteral(" (кодовая страница 1251)"));
    return bytes;
}

void WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(ResolvePath(path));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw Exception(QStringLiteral("Не удается записать файл ") + file.fileName() +
                        QStringLiteral(": ") + file.errorString());
}

void WriteTextFileLines(const QString& path, const QStringList& lines)
{
    const QString resolved = ResolvePath(path);
    WriteFileBytes(resolved, EncodeTextFileLines(resolved, lines));
}

void SyncFolderOf(const QString& path)
{
    const QString folder = QFileInfo(path).absolutePath();
    const auto refuse = [&folder](int error) {
        return Exception(QStringLiteral("Не удается сохранить на диске папку ") + folder +
                         QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(error)));
    };
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw refuse(errno);
    const int synced = ::fsync(fd);
    const int error = errno;
    ::close(fd);
    if (synced != 0 && error != EINVAL && error != ENOTSUP)
        throw refuse(error);
}
