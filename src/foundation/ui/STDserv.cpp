// The control and list transfers.
#include "foundation/ui/STDserv.h"

#include "controls/ExSpeedButton.h"
#include "controls/TextListBox.h"
#include "foundation/DelphiFormat.h"

#include <QAction>
#include <QCheckBox>
#include <QItemSelectionModel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>

void BoolToCheckBox(std::uint8_t flag, QCheckBox* box) { box->setChecked(flag == 1); }

void CheckBoxToBool(const QCheckBox* box, std::uint8_t& flag) { flag = box->isChecked() ? 1 : 0; }

void MenuItemToBool(const QAction* item, std::uint8_t& flag) { flag = item->isChecked() ? 1 : 0; }

void MenuItemToSpeedButton(const QAction* item, TExSpeedButton* button)
{
    button->SetDown(item->isChecked());
}

void MenuItemToSpeedButtonInv(const QAction* item, TExSpeedButton* button)
{
    button->SetDown(!item->isChecked());
}

void SpeedButtonToMenuItem(const TExSpeedButton* button, QAction* item)
{
    item->setChecked(button->Down());
}

void SpeedButtonToMenuItemInv(const TExSpeedButton* button, QAction* item)
{
    item->setChecked(!button->Down());
}

void ListBoxSelectedLines(const QListWidget* box, TSelectedLines& lines)
{
    // From the selection itself: asking every line of a long object list whether it is
    // selected costs the number of lines times the number of selected ranges.
    lines.clear();
    const QModelIndexList selected = box->selectionModel()->selectedIndexes();
    lines.reserve(static_cast<size_t>(selected.size()));
    for (const QModelIndex& index : selected)
        lines.push_back(index.row());
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
}

int ListBoxFirstSelected(const QListWidget* box)
{
    int first = -1;
    for (const QModelIndex& index : box->selectionModel()->selectedIndexes()) {
        if (first < 0 || index.row() < first)
            first = index.row();
    }
    return first;
}

int TextListBoxFirstSelected(const TTextListBox* box) { return ListBoxFirstSelected(box); }

void TextListBoxSelectedLines(const TTextListBox* box, TSelectedLines& lines)
{
    ListBoxSelectedLines(box, lines);
}

void MemoToStringList(const QPlainTextEdit* memo, QStringList& list)
{
    list.clear();
    const QTextDocument* document = memo->document();
    // An empty memo is one empty block, but has no lines.
    if (document->blockCount() == 1 && document->firstBlock().text().isEmpty())
        return;
    for (QTextBlock block = document->firstBlock(); block.isValid(); block = block.next())
        list.append(block.text());
}

void StringListToMemo(const QStringList& list, QPlainTextEdit* memo)
{
    memo->setPlainText(list.join(QLatin1Char('\n')));
}

QString UserTextLine(int i, const RUserText& text)
{
    return Format(QStringLiteral("%-3d  [dx=%4.2f dy=%4.2f da=%4.2f kSz=%2.2f v=%d]"),
                  {i, text.Dx, text.Dy, Extended(text.Angle) / 10, text.SizeFactor,
                   int(text.Show)});
}

void UserTextsToListBox(const ArrUserTexts& texts, TTextListBox* box)
{
    box->clear();
    for (size_t i = 0; i < texts.size(); ++i)
        box->addItem(UserTextLine(static_cast<int>(i), texts[i]));
}
