// The small windows around the classifier: naming a work object, adding a sign synonym,
// choosing materials and states for sign files, replacing semantics in sheets or layers
// of the main plan and the parameters of the height change. Each is made for one use by
// its entry and freed after; InstallClassifierWindows puts them behind their hooks.
#pragma once

#include "foundation/ui/DialogBase.h"
#include "semantics/codec/SemCodec.h"

#include <QStringList>
#include <vector>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class TNumEdit;
class TTextListBox;

// "Новый объект рабочей семантики" / "Изменить объект рабочей семантики".
class TFormNewWrkSemDialog : public TDialogBase {
    Q_OBJECT
public:
    TFormNewWrkSemDialog(const QString& standard, const QString& decoding, const QString& name,
                         const QString& caption);

    static TModalResult Execute(QString& standard, const QString& decoding, QString& name,
                                const QString& caption);

    // "Готово" and Enter: 1 with a name, otherwise the message and the window stays.
    void BitBtn1Click();
    // "Взять название из расшифровки": the memo's text, each CR and LF a blank.
    void BitBtn2Click();

    QPlainTextEdit* Memo1;
    QLineEdit* Edit1;
    QLineEdit* Edit2;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QPushButton* BitBtn3;
};

// "Добавить синоним".
class TFormAddSyn : public TDialogBase {
    Q_OBJECT
public:
    TFormAddSyn();

    // The whole entry: lists the signs of folder for the codec's current semantics and,
    // on OK, records that semantics' sign-selecting code under the sign chosen.
    static bool Execute(TSemCodec& codec, const QString& folder, int lm, QString& name);

    void BitBtn1Click();

    QPlainTextEdit* Memo1;
    QPlainTextEdit* Memo2;
    TTextListBox* TextListBox1;
    QPushButton* BitBtn1;
    QPushButton* BitBtn2;
    QStringList SignCodes;   // the hidden list: line by line, the sign of TextListBox1
};

// "Добавление свойств".
class TFormSelectMS : public TDialogBase {
    Q_OBJECT
public:
    TFormSelectMS();

    // Reads "Семантика/М.wri" and "С.wri" (raises when one is missing) and shows the
    // window; both lists take the chosen numbers whatever the result.
    static TModalResult Execute(QStringList& materials, QStringList& states);

    TTextListBox* TextListBox1;
    TTextListBox* TextListBox2;
    QPushButton* BitBtn1;
};

// "Замена семантики объектов" on the main plan.
class TFormChangeSem : public TDialogBase {
    Q_OBJECT
public:
    TFormChangeSem();

    // Shows the window; on OK gives one mcChangeSem per selected sheet or layer.
    static TModalResult Execute();

    // Refills the lists of the page shown.
    void PageChanged();
    // A sheet chosen in cbPages: its layers fill lbLayers.
    void cbPagesChange();
    // bt1 (old) and bt2 (new): the classifier in work selection for the kind checked.
    void ChooseSemantics(QLineEdit* edit, QPlainTextEdit* memo);
    // The parameter strings of the commands the window's selection stands for.
    QStringList CommandParams() const;
    void BitBtn1Click();

    QTabWidget* PageControl1;
    QWidget* tsPages;
    QWidget* tsLayers;
    TTextListBox* lbPages;
    QComboBox* cbPages;
    TTextListBox* lbLayers;
    QRadioButton* chPoints;
    QRadioButton* chLines;
    QRadioButton* chPolygons;
    QLineEdit* eOld;
    QToolButton* bt1;
    QPlainTextEdit* Memo1;
    QLineEdit* eNew;
    QToolButton* bt2;
    QPlainTextEdit* Memo2;
    QPushButton* BitBtn1;
};

// "Изменить высоты объектов в диапазоне...".
class TFormChangeHinSemDialog : public TDialogBase {
    Q_OBJECT
public:
    TFormChangeHinSemDialog();

    static TModalResult Execute(int& first, int& last, Extended& increment, QString& code);

    TNumEdit* NumEdit1;
    TNumEdit* NumEdit2;
    TNumEdit* NumEdit3;
    QLineEdit* Edit1;
    QPushButton* BitBtn1;
};

// Puts the five windows behind their hooks (the add-synonym one among the classifier's
// hooks, the others among the editors').
void InstallClassifierWindows();
