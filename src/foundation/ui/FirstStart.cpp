// The licence-agreement window.
#include "foundation/ui/FirstStart.h"

#include "foundation/AppGlobalVar.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ui/PlainRtf.h"
#include "platform/FileLookup.h"
#include "platform/ProgramFolder.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

QString LicenceFileName()
{
    QString folder = ProgramFolder.isEmpty() ? GetProgramFolder() : ProgramFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return ResolvePath(folder + QStringLiteral("лицензия.rtf"));
}

TFormFirstStart::TFormFirstStart(const QString& licenceFile, QWidget* parent) : TDialogBase(parent)
{
    setWindowTitle(QStringLiteral("Внимание!"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    SetClientSize(929, 666);

    Header = new QLabel(QStringLiteral("Лицензионное соглашение"), this);
    QFont big = font();
    big.setPixelSize(20);
    big.setBold(true);
    Header->setFont(big);
    Header->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    Place(Header, QRect(2, 2, 654, 43));
    VersionLabel = new QLabel(AppVersion.isEmpty() ? QString() : QStringLiteral("версия ") + AppVersion,
                              this);
    VersionLabel->adjustSize();
    Place(VersionLabel, QRect(QPoint(120, 2), VersionLabel->size()));

    Notice = new QLabel(
        QStringLiteral("Перед началом работы прочтите лицензионное соглашение. Работать с "
                       "программой можно только при согласии с его условиями."),
        this);
    Notice->setWordWrap(true);
    Place(Notice, QRect(11, 43, 914, 52));

    LicenceText = new QPlainTextEdit(this);
    LicenceText->setReadOnly(true);
    Place(LicenceText, QRect(8, 100, 909, 376));
    try {
        LicenceText->setPlainText(ReadRtfFile(licenceFile));
        LicenceLoaded = true;
    } catch (const std::exception& e) {
        LicenceText->setPlainText(
            QStringLiteral("Текст лицензионного соглашения не удалось прочитать: %1.\n"
                           "Файл \"лицензия.rtf\" должен лежать в папке программы. Условия "
                           "соглашения можно узнать у поставщика программы.")
                .arg(ExceptionMessage(e)));
    }

    NoteMemo = new QPlainTextEdit(this);
    NoteMemo->setReadOnly(true);
    NoteMemo->setPlainText(
        QStringLiteral("При согласии программа создаст ярлык на рабочем столе, свяжет с собой "
                       "файлы планов и откроет палитру инструментов.\n"
                       "При отказе программа завершит работу."));
    Place(NoteMemo, QRect(10, 480, 910, 154));

    AgreeButton = AddButton(QStringLiteral("Согласен"),
                            QRect(108, 638, 385, 25), mrOk);
    DeclineButton = AddButton(QStringLiteral("Не согласен"),
                              QRect(516, 638, 228, 25), mrCancel);
    AgreeButton->setDefault(true);
    AgreeButton->setFocus();
}
