// The classifier files (standard classifier, value lists, work semantics, synonyms,
// exclusions): the first byte chooses which file of "Семантика" the rest replaces, and
// the classifier is opened as its window does. The file is put back afterwards.
#include "FuzzRun.h"

#include "semantics/codec/SemServices.h"

#include <QDir>
#include <QFile>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    if (size < 1)
        return 0;
    const QString folder = FuzzProgramFolder() + QStringLiteral("Семантика/");
    static const QStringList files = QDir(folder).entryList({QStringLiteral("*.wri")}, QDir::Files, QDir::Name);
    if (files.isEmpty())
        FuzzFail("no classifier files", folder);
    const QString name = files[data[0] % files.size()];
    QFile original(folder + name);
    if (!original.open(QIODevice::ReadOnly))
        FuzzFail("cannot read the classifier file", name);
    const QByteArray kept = original.readAll();
    original.close();

    FuzzWriteFile(folder + name, data + 1, size - 1);
    {
        TSemServices semantics;
        try {
            semantics.Open();
        } catch (const std::exception&) {
        }
    }
    FuzzWriteFile(folder + name, reinterpret_cast<const std::uint8_t*>(kept.constData()), std::size_t(kept.size()));
    return 0;
}
