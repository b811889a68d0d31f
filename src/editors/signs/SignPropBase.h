// What the point, line and area sign dialogs share: the preview of the sign under edit,
// the caption rule list with its buttons, the file name with the classifier button, and
// "Сохранить" / "Отмена". The sign lives in the preview's library; every control writes
// straight into it and only "Сохранить" writes a file.
#pragma once

#include "editors/signs/SignPreview.h"
#include "foundation/ui/DialogBase.h"

#include <QString>
#include <QStringList>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TExSpeedButton;
class TNumEdit;
class TSemTexts;
class TVpLayers;
struct RSemText;

// How a sign file name is made from a chosen semantics. The sign dialogs take the
// standard part of the chosen semantics with the materials and states chosen; further
// policies come with the windows that need them.
// The sign manager's copy takes the materials and states chosen and none otherwise.
enum class TSignNamePolicy { StandardWithMS, ChosenOnly };

// How materials (or states) bear on a sign: not at all, the sign is for objects without
// them ("нет"); any of them ("Не влияет на знак"); only those listed ("Только следующие:").
enum class TSignPartRule { None, Any, Only };

// The sign naming rule over a code of the form object code, "/" and each item followed
// by ";" ("ПОЗ/Ф010;К010;", "ПОЗ/"; a bare object code or a last item without ";" is
// completed first): "-" for the "/", then the material and the state part by their
// rules, no last ";", a bare "ПОЗ-" cut to "ПОЗ", and ".wri". Empty, with the reason in
// refusal, when the name would be empty or hold "/", "\" or "..".
QString MakeSignFileName(const QString& code, TSignPartRule materialRule, const QStringList& materials,
                         TSignPartRule stateRule, const QStringList& states, QString* refusal = nullptr);

// The file name (".wri" included) for the semantics sem (already reduced as the policy
// asks) with the material and state codes chosen: "ТОЧ/Ф010" with material 001 gives
// "ТОЧ-Ф010;М001;С.wri". Empty, with the reason in refusal, when the name would hold
// "/", "\" or "..", which would put the sign outside its kind folder.
QString BuildSignFileName(const QString& sem, const QStringList& materials, const QStringList& states,
                          TSignNamePolicy policy, QString* refusal = nullptr);

// The row of the caption list for rule of a sign of kind lm whose file name begins with
// objectCode (its first three characters).
QString CaptionRuleRow(const RSemText& rule, const QString& objectCode, int lm);

class TFormSignProp : public TDialogBase {
    Q_OBJECT
public:
    // Lays the common controls out; the preview is made but not yet filled. width and
    // height are the client size; the kind's controls go right of x = 320.
    TFormSignProp(TPreviewOwner owner, const QString& signFile, int scale, int width, int height,
                  QWidget* parent);

    // Fills the preview and loads the sign; false when the file did not load (the
    // message has been shown).
    bool Load();
    // "Сохранить": the sign written to the name in eSem as a sign of the kind. A failure
    // to write is shown; false then or when the overwrite question was cancelled.
    bool Save();

    TSignPreview* Preview;
    QLabel* Label01;             // "масштаб 1:" scale
    QListWidget* lbSv;           // "Подписи из семантики"
    QPushButton* sbAddSemText;   // "Добавить"
    QPushButton* sbEditSemText;  // "Изменить"
    QPushButton* sbDelSemText;   // "Удалить"
    QPushButton* sbUp;           // "вверх"
    QPushButton* sbDown;         // "вниз"
    QPushButton* sbFont;         // "шрифт"
    QLineEdit* eSem;
    TExSpeedButton* ButtonShowFormSem;   // "Классификатор семантики"
    QPushButton* BitBtn2;        // "Отмена"
    QPushButton* BitBtn3;        // "Сохранить"

    void FillCaptionList();
    void ListClicked();
    void AddSemText();
    void EditSemText();
    void DelSemText();
    void MoveSemText(int by);
    void FontSemText();
    void ShowFormSem();
    // The picture editor on picture, then the preview drawn anew.
    void EditPicture(TVpLayers& picture);

protected:
    // The caption rules of the loaded sign; null before it is loaded.
    virtual TSemTexts* Captions() = 0;
    // After loading: the kind's controls from the sign.
    virtual void FillControls() {}
    int Kind() const { return Preview->Kind(); }
    TSymbols& Symbols() { return *Preview->Map->Symbols; }
    // A number edit for a real field: decimals < 0 shows the full value.
    TNumEdit* RealEdit(QWidget* parent, const char* name, int decimals);
    // Shows value in edit without writing it back (an untouched field is saved as read).
    void ShowValue(TNumEdit* edit, Extended value);
    // The value the user typed, rounded to the decimals the edit shows.
    static Extended TypedValue(TNumEdit* edit);

    int Scale;
    QString OpenedFile;

private:
    QList<int> SelectedRows() const;
};

// Puts the sign dialog of each kind behind the EditSymbolDlg entry, the sign manager
// behind SymbolManagerDlg and the add-sign window behind the sign library's AddSymbolDlg.
void InstallSignDialogs();
