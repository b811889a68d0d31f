// The new-plan window.
#include "dialogs/file/UnitNewMapDialog.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <limits>

TModalResult NewMapDlg(int& scale, QString& description)
{
    TFormNewMapDialog window(scale, description, DialogOwner());
    const TModalResult result = window.ShowModal();
    scale = ScaleOfNewMapText(window.MaskEdit1->text());
    description = window.Memo1->toPlainText();
    return result;
}

int ScaleOfNewMapText(const QString& text)
{
    QString digits;
    for (qsizetype i = text.startsWith(QLatin1String("1:")) ? 2 : 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        digits += c;
    }
    bool ok = false;
    const qlonglong value = digits.toLongLong(&ok);
    return ok && value <= std::numeric_limits<int>::max() ? int(value) : 0;
}

TFormNewMapDialog::TFormNewMapDialog(int scale, const QString& description, QWidget* parent)
    : TDialogBase(parent)
{
    setObjectName(QStringLiteral("FormNewMapDialog"));
    setWindowTitle(QStringLiteral("Новый план"));
    SetClientSize(400, 250);

    auto* memoLabel = new QLabel(QStringLiteral("Описание"), this);
    Place(memoLabel, QRect(8, 6, 200, 16));
    Memo1 = new QPlainTextEdit(description, this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setTabChangesFocus(true);
    Place(Memo1, QRect(8, 24, 384, 110));

    auto* scaleLabel = new QLabel(QStringLiteral("Исходный масштаб"), this);
    Place(scaleLabel, QRect(8, 144, 120, 21));
    MaskEdit1 = new QLineEdit(this);
    MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
    MaskEdit1->setInputMask(QStringLiteral("\\1:0000000; "));
    MaskEdit1->setText(QStringLiteral("1:") + QString::number(scale));
    Place(MaskEdit1, QRect(132, 144, 100, 21));

    const int scales[7] = {100, 200, 500, 1000, 2000, 5000, 10000};
    for (int i = 0; i < 7; ++i) {
        auto* b = new QPushButton(QString::number(scales[i]), this);
        b->setObjectName(QStringLiteral("bt%1").arg(scales[i]));
        b->setAutoDefault(false);
        Place(b, QRect(8 + i * 55, 176, 51, 25));
        const QString text = QStringLiteral("1:") + QString::number(scales[i]);
        connect(b, &QPushButton::clicked, this, [this, text] { MaskEdit1->setText(text); });
    }
    auto* done = AddButton(QStringLiteral("Готово"), QRect(312, 216, 80, 25), mrOk);
    done->setObjectName(QStringLiteral("btDone"));
    done->setAutoDefault(false);
    PlaceScreenCentre();
    MaskEdit1->setFocus();
}

void TFormNewMapDialog::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        SetModalResult(mrOk);
        return;
    }
    TDialogBase::keyPressEvent(e);
}
