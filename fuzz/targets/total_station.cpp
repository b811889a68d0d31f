// The total-station records, each input read as a Sokkia SDR file and as a Pentax DC1
// file: the stations found, and each station's observations imported into the
// tacheometric table and computed as the tacheometry window does.
#include "FuzzRun.h"

#include "survey/UnitSokkiaServ.h"
#include "survey/tacheo/TaheoCalc.h"

namespace {

// Past this many stations the rest are like the first ones: the input's time goes to
// the reading, not to computing hundreds of stations.
constexpr int MaxStations = 8;

void ReadAs(const QString& path, TTotalStationFormat format)
{
    std::optional<TTotalStationFile> file;
    try {
        file = TTotalStationFile::Load(path, format);
    } catch (const std::exception&) {
        return;   // refused with its message
    }
    const int stations = std::min<int>(int(file->StationNames.size()), MaxStations);
    for (int station = -1; station <= stations; ++station) {   // one out of range each side
        file->Block(station);
        UnitInputTaheo::TTaheoRows rows;
        QString height = QStringLiteral("1.5");
        try {
            UnitInputTaheo::ImportStation(*file, station, rows, height);
            UnitInputTaheo::RTaheoSettings settings;
            settings.Vertical = UnitInputTaheo::vcZenith0;
            UnitInputTaheo::CalculateObjects(rows, settings);
        } catch (const std::exception&) {
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    const QString path = FuzzWriteFile(QStringLiteral("fuzz.sdr"), data, size);
    ReadAs(path, TTotalStationFormat::Sdr);
    ReadAs(path, TTotalStationFormat::Dc1);
    return 0;
}
