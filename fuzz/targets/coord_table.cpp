// The coordinate-table files of "Создание объектов по координатам", each input opened
// both as a Word table saved as text (three lines a row) and as a DAT file (N X Y H a
// line) through the window's own buttons, and the rows read for every kind of object.
#include "FuzzRun.h"

#include "controls/ExSpeedButton.h"
#include "dialogs/objects/UnitCreateCoordObj.h"
#include "mainwindow/file/FileDialogs.h"

#include <QCoreApplication>
#include <QEvent>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzStartRun();
    const QString path = FuzzWriteFile(QStringLiteral("fuzz.dat"), data, size);
    FileDialogHooks().OpenFileName = [path](const QString&, const QString&, QString& fileName) {
        fileName = path;
        return true;
    };
    {
        TFormCreateCoordObj window;
        window.SpeedButton1Click();
        window.Button1Click();
        for (TExSpeedButton* kind : {window.sbPiket, window.sbPoint, window.sbLine, window.sbPolygon}) {
            kind->SetDown(true);
            for (const QTableWidget* grid : {window.StringGrid1, window.StringGrid2}) {
                std::vector<RCoordRow> rows;
                QString error;
                window.ReadTable(grid, rows, error);
            }
        }
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
