// The traverse window's "Sokkia +": the traverse points picked in order from an SDR
// file, then at every station the observations back and forward; the table receives the
// names, the left angles and the mean horizontal distances, and "Расчет" does the rest.
#include "survey/UnitTheodolit.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "mainwindow/file/FileDialogs.h"
#include "survey/UnitSokkiaServ.h"
#include "survey/traverse/TheoDialogs.h"

#include <QRadioButton>
#include <QSpinBox>
#include <cmath>
#include <optional>

namespace {

// Stations first, each once, in order of first appearance; then the targets not yet
// listed, in file order.
QStringList OfferedPoints(const TTotalStationFile& file)
{
    QStringList names;
    for (const QString& s : file.StationNames)
        if (!names.contains(s))
            names << s;
    for (const QString& line : file.Lines)
        if (SdrRecordCode(line) == u"09F1") {
            const QString target = SdrToPoint(line);
            if (!target.isEmpty() && !names.contains(target))
                names << target;
        }
    return names;
}

QString PickHint(int type)
{
    QString hint = QStringLiteral(
        "в списке слева находятся имеющиеся в SDR файле станции и пикеты; выберете из них точки "
        "в порядке, соответствующем направлению хода;первый элемент списка должен быть "
        "начальным ориентирным пунктом, второй- начальным исходным");
    if (type == 1)
        hint += QStringLiteral(", предпоследний- конечным исходным, последний- конечным ориентирным;");
    else if (type == 2)
        hint += QStringLiteral(", последний- конечным исходным");
    return hint + QStringLiteral("\rПри необходимости введите точки вручную");
}

Extended Horizontal(Extended slope, Extended elevationDegrees)
{
    return slope * std::cos(elevationDegrees * Extended(M_PI) / 180);
}

} // namespace

void TFormTheodolit::ExSpeedButton1Click()
{
    QString fileName;
    if (!OpenFileNameDialog(QStringLiteral("Открыть файл"),
                            QStringLiteral("Рез.изм.Sokkia 610 (sdr) (*.sdr)"), fileName))
        return;
    std::optional<TTotalStationFile> file;
    const qsizetype trail = ErrorInfo ? ErrorInfo->size() : 0;
    try {
        file = TTotalStationFile::Load(fileName, TTotalStationFormat::Sdr);
    } catch (const Exception& e) {
        if (ErrorInfo && ErrorInfo->size() > trail)
            ErrorInfo->resize(trail);
        MessageDlg(e.Message, mtError);
        return;
    }

    int type = 1;
    const TModalResult typeAnswer = SelectTheoTypeDlg(type);
    QRadioButton* const radios[] = {RadioButton1, RadioButton2, RadioButton3};
    radios[type - 1]->setChecked(true);
    RadioButton1Click();
    if (typeAnswer != mrOk)
        return;

    QStringList ordered;
    if (CollectSLFromSLDlg(OfferedPoints(*file), ordered, QStringLiteral("Выберите точки хода"),
                           PickHint(type)) != mrOk)
        return;
    // A, B and at least one traverse point, and the closing points the type needs.
    const int closing = type == 1 ? 2 : type == 2 ? 1 : 0;
    const int least = 3 + closing;
    if (ordered.size() < least) {
        ShowMsgDialog(TTraverseTable::CheckTitle(),
                      QStringLiteral("Для этого типа хода нужно выбрать не менее %1 точек").arg(least));
        return;
    }
    const int count = int(ordered.size());
    PointsCount->setValue(count - 2 - closing);
    Table.SetPointsCount(PointsCount->value());
    for (int i = 0; i < count && 2 * i + 1 < Table.RowCount(); ++i)
        Table.SetCell(2 * i + 1, 0, ordered[i]);

    const int last = type == 1 ? count - 2 : count - 1;   // K
    Extended forward = 0;
    for (int k = 1; k <= last; ++k) {
        const bool single = type != 1 && k == last;
        RTheoStationAnswer a;
        if (TheoStantionDlg(*file, ordered[k - 1], ordered[k], single ? QString() : ordered[k + 1],
                            single, a) != mrOk)
            break;
        if (k > 1) {
            const Extended backward = Horizontal(a.PrevSlope, a.PrevElevation);
            Table.SetCell(2 * k, 8, TTraverseTable::LengthText((forward + backward) / 2));
        }
        if (k != last)
            forward = Horizontal(a.NextSlope, a.NextElevation);
        if (!single) {
            const QStringList parts = TTraverseTable::AngleTexts(std::fabs(a.Angle));
            Table.SetCell(2 * k + 1, 1, (a.Angle < 0 ? QStringLiteral("-") : QStringLiteral("+")) + parts.value(0));
            Table.SetCell(2 * k + 1, 2, parts.value(1));
            Table.SetCell(2 * k + 1, 3, parts.value(2));
        }
    }
    TableToGrid();
}
