// The find window: Enter searches on, Esc and "Отмена" hide it; its text and box stay
// for the next time it is shown.
#include "dialogs/find/FindDialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TFindDialog::TFindDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FindDialog1"));
    setWindowTitle(QStringLiteral("Найти"));
    setModal(false);

    auto* grid = new QGridLayout(this);
    auto* label = new QLabel(QStringLiteral("Образец:"), this);
    FindText = new QLineEdit(this);
    FindText->setObjectName(QStringLiteral("FindText"));
    FindText->setMinimumWidth(220);
    label->setBuddy(FindText);
    MatchCase = new QCheckBox(QStringLiteral("С учетом регистра"), this);
    MatchCase->setObjectName(QStringLiteral("MatchCase"));
    FindNext = new QPushButton(QStringLiteral("Найти далее"), this);
    FindNext->setObjectName(QStringLiteral("FindNext"));
    FindNext->setDefault(true);
    FindNext->setEnabled(false);
    Cancel = new QPushButton(QStringLiteral("Отмена"), this);
    Cancel->setObjectName(QStringLiteral("Cancel"));
    Cancel->setAutoDefault(false);

    grid->addWidget(label, 0, 0);
    grid->addWidget(FindText, 0, 1);
    grid->addWidget(FindNext, 0, 2);
    grid->addWidget(MatchCase, 1, 0, 1, 2);
    grid->addWidget(Cancel, 1, 2);
    grid->setColumnStretch(1, 1);

    // Nothing to look for in an empty text.
    connect(FindText, &QLineEdit::textChanged, this,
            [this](const QString& text) { FindNext->setEnabled(!text.isEmpty()); });
    connect(FindNext, &QPushButton::clicked, this, [this] {
        if (OnFind)
            OnFind();
    });
    connect(Cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TFindDialog::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (OnShow)
        OnShow();
    FindText->setFocus();
    FindText->selectAll();
}
