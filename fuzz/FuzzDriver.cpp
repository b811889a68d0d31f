// The driver of a fuzz target built without libFuzzer: runs the target once on every
// file named or listed in a --list file (one path a line), and on every file below each
// folder named or listed. A folder that does not exist holds nothing yet. A
// finding ends the process as under the fuzzer (abort, a sanitizer, an exception).
// Paths are made absolute before the first run, as the targets change the current
// folder.
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

int RunFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", path.toUtf8().constData());
        return 1;
    }
    const QByteArray bytes = f.readAll();
    std::fprintf(stderr, "%s\n", path.toUtf8().constData());
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    return 0;
}

// The file, or every file below the folder in name order.
void AddInput(const QString& path, QStringList& inputs)
{
    if (!QFileInfo(path).isDir()) {
        if (QFileInfo(path).isFile())
            inputs.append(QFileInfo(path).absoluteFilePath());
        return;
    }
    QStringList files;
    QDirIterator it(QFileInfo(path).absoluteFilePath(), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    files.sort();
    inputs.append(files);
}

}  // namespace

int main(int argc, char** argv)
{
    QStringList inputs;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--list") && i + 1 < argc) {
            QFile list(QString::fromLocal8Bit(argv[++i]));
            if (!list.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read the list %s\n", argv[i]);
                return 1;
            }
            for (const QByteArray& line : list.readAll().split('\n'))
                if (!line.trimmed().isEmpty())
                    AddInput(QString::fromUtf8(line.trimmed()), inputs);
        } else {
            AddInput(arg, inputs);
        }
    }
    int failed = 0;
    for (const QString& path : inputs)
        failed += RunFile(path);
    std::fprintf(stderr, "%lld inputs run\n", static_cast<long long>(inputs.size()));
    return failed ? 1 : 0;
}
