// The shared modal questions as the core sees them: modal results as numbers and one
// entry routine per window, each reached through a replaceable hook. The program
// installs the real windows at start (InstallDialogWindows, foundation/ui); tests
// install scripted answers; without a hook every routine answers cancel at once.
#pragma once

#include "platform/Platform.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

// Modal results, numbered as the windows return them. Qt's 0 never reaches a caller.
using TModalResult = int;
constexpr TModalResult mrNone = 0;
constexpr TModalResult mrOk = 1;
constexpr TModalResult mrCancel = 2;
constexpr TModalResult mrAbort = 3;
constexpr TModalResult mrRetry = 4;
constexpr TModalResult mrIgnore = 5;
constexpr TModalResult mrYes = 6;
constexpr TModalResult mrNo = 7;
constexpr TModalResult mrAll = 8;
constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

// Lines of a message as the windows show them: a CR ends a line and is dropped; every
// other character, a line feed included, stays; the text after the last CR is the last
// line when it is not empty. lines is emptied first.
void Split(const QString& text, QStringList& lines);
QStringList Split(const QString& text);
// A message for a console: every CR that ends one of its lines (a CR LF pair counting as
// one end) becomes the platform's line end, so a terminal shows each line instead of
// writing the next one over it.
QString ConsoleText(const QString& text);

// What the polar-intersection window hands back: the choices and values as the user
// left them (the window keeps them from call to call).
struct TPolarAnswer {
    bool FromEnd = false;       // station: false "от начала базовой линии", true "от конца"
    bool RightAngle = false;    // false "левый угол", true "правый угол"
    Extended Distance = 10;     // metres
    Extended Degrees = 90;
    Extended Minutes = 0;
    Extended Seconds = 0;
};

// The point the polar intersection gives from the base line (X1, Y1)→(X2, Y2).
// At the start station the angle is measured from the base line itself (left: base
// direction − angle, right: + angle); at the end station the traverse rule applies
// (NextDirAngle of the base direction). Distance in metres, angle as degrees, minutes
// and seconds.
void PolarPoint(Extended X1, Extended Y1, Extended X2, Extended Y2, const TPolarAnswer& answer,
                Extended& X, Extended& Y);

// The selection windows hand back the line chosen in the list (-1 when none) and the
// text typed into the combo box; the entry routines then apply the list rule below.
struct TSelection {
    int Index = -1;
    QString Typed;
};

// The kind of the toolkit's standard message box: its icon and its caption.
enum TMsgDlgType : std::uint8_t { mtWarning, mtError, mtInformation };

// One member per window. Each receives the values as the window would be filled and
// writes back what the window copies back; it returns the modal result. An empty
// member means "no window": the entry routine answers cancel and changes nothing.
struct TDialogHooks {
    std::function<TModalResult(const QString& caption, const QString& text)> ShowMsg;
    std::function<TModalResult(const QString& caption, const QString& text)> ShowQ;
    std::function<TModalResult(QString& value, const QString& caption, const QString& text)>
        InpStr;
    std::function<TModalResult(QString& masked, QString& free, const QString& caption,
                               const QString& text, const QString& mask)>
        InpStr2;
    // selection.Index arrives as the preselected line.
    std::function<TModalResult(const QStringList& list, TSelection& selection,
                               const QString& caption, const QString& text)>
        SelStr;
    std::function<TModalResult(const QStringList& list, TSelection& selection,
                               const QString& caption, const QString& text, QString& free)>
        SelStr2;
    std::function<TModalResult(int& denominator, const QString& caption, const QString& text)>
        InpScale;
    std::function<TModalResult(QString& value, const QString& caption, const QString& text)>
        InpNomStr2000;
    std::function<TModalResult(TPolarAnswer& answer)> InpPolar;
    std::function<TModalResult(const QStringList& lines)> QDelObjects;
    std::function<TModalResult(QString& name, const QString& caption, const QString& text)>
        DublicateItem;
    std::function<TModalResult()> FirstStart;
    std::function<TModalResult(const QString& text, TMsgDlgType type)> MessageDlg;
};

// The one set in force.
TDialogHooks& DialogHooks();

// Puts a set in force for its lifetime and restores the previous one after; the
// default set is empty (every routine answers cancel).
class TScopedDialogHooks {
public:
    explicit TScopedDialogHooks(TDialogHooks hooks = {});
    ~TScopedDialogHooks();
    TScopedDialogHooks(const TScopedDialogHooks&) = delete;
    TScopedDialogHooks& operator=(const TScopedDialogHooks&) = delete;

private:
    TDialogHooks Saved;
};

// The message box: 1 for "Готово" or Enter, 2 for Esc or the close box.
TModalResult ShowMsgDialog(const QString& caption, const QString& text);

// The yes/no question: 6 "Да" or Enter, 7 "Нет" or Esc, 2 the close box (and no
// window). Callers treat only 6 as yes.
TModalResult ShowQDialog(const QString& caption, const QString& text);

// Text input: value starts the edit and receives its text whatever the result;
// 1 OK, 2 Esc.
TModalResult InpStrDialog(QString& value, const QString& caption, const QString& text);

// Masked and free text: masked is shown through mask (Delphi mask syntax), free in a
// plain edit; both are copied back whatever the result.
TModalResult InpStr2Dialog(QString& masked, QString& free, const QString& caption,
                           const QString& text, const QString& mask);

// Selection from list with index preselected. After the window, whatever the result:
// a line chosen in the list, or a typed text equal to a line, gives index := that line
// and added := 0, so added 0 always means a line of the list. Otherwise added := 1;
// on OK a typed text that is new and not empty is appended (index := the last line);
// a cancelled or empty text never reaches the list, and index := -1.
TModalResult SelStrDialog(QStringList& list, int& index, int& added, const QString& caption,
                          const QString& text);

// The same selection rule, plus a free text edit started with free and copied back.
TModalResult SelStr2Dialog(QStringList& list, int& index, int& added, const QString& caption,
                           const QString& text, QString& free);

// Scale 1:denominator. The window takes only whole scales of 1 or more on OK; the
// denominator changes only when the edit holds such a scale.
TModalResult InpScaleDialog(int& denominator, const QString& caption, const QString& text);

// Sheet nomenclature "000-L" (three digits, "-", one upper-case letter); value starts
// the edit and receives its text with the literal "-", whatever the result.
TModalResult InpNomStr2000Dialog(QString& value, const QString& caption, const QString& text);

// Polar intersection from the base line (X1, Y1)→(X2, Y2): after the window, whatever
// the result, (X, Y) := PolarPoint of its answer. Without a window X and Y stay.
TModalResult InpPolarDialog(Extended X1, Extended Y1, Extended X2, Extended Y2, Extended& X,
                            Extended& Y);

// The question before deleting found objects: 1 confirms, 2 otherwise.
TModalResult QDelObjectsDlg(const QStringList& lines);

// A sheet or layer name that already exists: 6 rename (name := the edited name, which
// is never empty), 7 add to the existing one, 9 add for all further cases, 2 Esc or
// the close box (name still receives the edited text when rename was chosen).
// Callers that ask again on 2 must stop when no window is installed
// (DialogHooks().DublicateItem is empty), or a headless run would loop.
TModalResult DublicateItemDlg(QString& name, const QString& caption, const QString& text);

// The licence agreement at a new user's first start: 1 agree, 2 decline.
TModalResult FirstStartDlg();

// The toolkit's standard message box of type's icon and caption ("Внимание", "Ошибка",
// "Информация") with one OK button: 1. A CR, a CR LF and a lone LF each end a line.
TModalResult MessageDlg(const QString& text, TMsgDlgType type);
