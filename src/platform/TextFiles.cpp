#include "platform/TextFiles.h"

#include "foundation/ErrorTrail.h"
#include "platform/CodePage.h"
#include "platform/FileLookup.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QSaveFile>

#include <algorithm>
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
    const QString what = QStringLiteral("Не удается записать файл ") + file.fileName();
    errno = 0;
    if (!file.open(QIODevice::WriteOnly))
        throw Exception(what + QStringLiteral(": ") + FileErrorReason(errno, file.errorString()));
    WriteAllBytes(file, bytes.constData(), bytes.size(), what);
    errno = 0;
    if (!file.commit())
        throw Exception(what + QStringLiteral(": ") + FileErrorReason(errno, file.errorString()));
}

QString FileErrorReason(int error, const QString& fallback)
{
    switch (error) {
    case ENOSPC: return QStringLiteral("на диске нет свободного места");
    case EDQUOT: return QStringLiteral("превышена дисковая квота пользователя");
    case EACCES:
    case EPERM: return QStringLiteral("нет прав на запись в эту папку или файл");
    case EROFS: return QStringLiteral("диск доступен только для чтения");
    case EFBIG: return QStringLiteral("файл слишком велик для этого диска");
    case EIO: return QStringLiteral("ошибка ввода-вывода диска");
    case ENOENT: return QStringLiteral("папка не найдена");
    case ENAMETOOLONG: return QStringLiteral("слишком длинное имя файла");
    default: break;
    }
    if (!fallback.isEmpty() && fallback != QLatin1String("Unknown error"))
        return fallback;
    return error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                      : QStringLiteral("неизвестная ошибка записи");
}

std::function<int(qint64 written, qint64& n)>& FileWriteFault()
{
    static std::function<int(qint64, qint64&)> fault;
    return fault;
}

void WriteAllBytes(QIODevice& out, const char* bytes, qint64 n, const QString& what)
{
    qint64 done = 0;
    while (done < n) {
        qint64 chunk = n - done;
        if (const auto& fault = FileWriteFault()) {
            if (const int error = fault(done, chunk))
                throw Exception(what + QStringLiteral(": ") + FileErrorReason(error, QString()));
            chunk = std::clamp<qint64>(chunk, 0, n - done);
        }
        errno = 0;
        const qint64 wrote = out.write(bytes + done, chunk);
        const int error = errno;
        // A write that stops short gives no reason; the next one, with nothing written,
        // gives the system's.
        if (wrote < 0 || (wrote == 0 && error != 0))
            throw Exception(what + QStringLiteral(": ") + FileErrorReason(error, out.errorString()));
        if (wrote == 0)
            throw Exception(what + QStringLiteral(": ") + FileErrorReason(0, out.errorString()));
        done += wrote;
    }
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
