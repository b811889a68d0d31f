// Small routines through which windows move values between their controls and the
// program's data: check boxes and menu items to and from byte flags (1 true, 0 false),
// menu items to and from tool-bar speed buttons, selected list lines, memo lines, and
// the summary of an object's user caption placements. None keeps state.
#pragma once

#include "foundation/GeoDataObjects.h"

#include <QStringList>
#include <cstdint>
#include <vector>

class QAction;
class QCheckBox;
class QListWidget;
class QPlainTextEdit;
class TExSpeedButton;
class TTextListBox;

// 0-based indices of selected lines, ascending.
using TSelectedLines = std::vector<std::int32_t>;

// Checks the box when flag is 1, clears it for any other value.
void BoolToCheckBox(std::uint8_t flag, QCheckBox* box);
void CheckBoxToBool(const QCheckBox* box, std::uint8_t& flag);
void MenuItemToBool(const QAction* item, std::uint8_t& flag);

// The speed button follows its own rules: a button of no group stays up, and a down
// button of a group that does not allow all up stays down.
void MenuItemToSpeedButton(const QAction* item, TExSpeedButton* button);
void MenuItemToSpeedButtonInv(const QAction* item, TExSpeedButton* button);
void SpeedButtonToMenuItem(const TExSpeedButton* button, QAction* item);
void SpeedButtonToMenuItemInv(const TExSpeedButton* button, QAction* item);

// The first selected line, -1 when none.
int ListBoxFirstSelected(const QListWidget* box);
void ListBoxSelectedLines(const QListWidget* box, TSelectedLines& lines);
int TextListBoxFirstSelected(const TTextListBox* box);
void TextListBoxSelectedLines(const TTextListBox* box, TSelectedLines& lines);

// The memo's lines, in order (an empty memo has none); list is emptied first.
void MemoToStringList(const QPlainTextEdit* memo, QStringList& list);
// The memo holds exactly the list's lines afterwards.
void StringListToMemo(const QStringList& list, QPlainTextEdit* memo);

// One line per element i: "%-3d  [dx=%4.2f dy=%4.2f da=%4.2f kSz=%2.2f v=%d]" of i, Dx,
// Dy, Angle / 10, SizeFactor and Show, with the locale's decimal separator.
QString UserTextLine(int i, const RUserText& text);
void UserTextsToListBox(const ArrUserTexts& texts, TTextListBox* box);
