// The extended value lists editor page: the 23 value lists whose line numbers are the
// codes stored in semantics strings. The memo shows a list without its reserved line 0;
// saving writes an empty line 0 and the memo's lines to the kind's file.
#include "editors/classifier/UnitSemDialog.h"

#include "editors/classifier/TabRows.h"
#include "foundation/ErrorTrail.h"
#include "foundation/ServDialogs.h"
#include "platform/TextFiles.h"

#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QToolButton>

namespace {

const char* const Module = "UnitSemDialog";

// True when a line that was there before stands elsewhere now, or is gone: every plan
// that stores its code would then read another value. A line edited in place keeps its
// code and is not counted.
bool CodesMoved(const QStringList& before, const QStringList& after)
{
    if (after.size() < before.size())
        return true;
    for (int i = 0; i < before.size(); ++i) {
        if (before[i] == after[i] || before[i].isEmpty())
            continue;
        if (after.contains(before[i]))
            return true;
    }
    return false;
}

}  // namespace

void TFormSemDialog::ConnectExtendedPage()
{
    connect(mExt, &QPlainTextEdit::textChanged, this, [this] {
        ExtEdited = true;
        sbSaveExt->setEnabled(true);
    });
    connect(sbSaveExt, &QToolButton::clicked, this, [this] {
        if (ExtShownTab >= 0)
            SaveExtList(ExtShownTab);
    });
    // The question comes before the memo shows the new tab, so a yes saves what the
    // user edited under the old one.
    // A save that fails puts the tab back, so the memo with the edit and the tab it
    // belongs to stay together.
    connect(pcSelExt, &TTabRows::currentChanged, this, [this] {
        try {
            AskSaveExtEdit();
        } catch (...) {
            const QSignalBlocker blocker(pcSelExt);
            pcSelExt->setCurrentIndex(ExtShownTab);
            throw;
        }
        ShowExtList();
    });
}

void TFormSemDialog::PrepareExtendedLists()
{
    ShowExtList();
}

void TFormSemDialog::ShowExtList()
{
    const int kind = pcSelExt->currentIndex();
    QStringList lines;
    Codec().SemExtToSL(kind, lines);
    if (!lines.isEmpty())
        lines.removeFirst();   // the reserved line 0
    {
        const QSignalBlocker blocker(mExt);
        mExt->setPlainText(lines.join(u'\n'));
    }
    mExt->document()->setModified(false);
    ExtShownTab = kind;
    ExtShownLines = lines;
    ExtEdited = false;
    sbSaveExt->setEnabled(false);
}

QStringList TFormSemDialog::ExtMemoLines() const
{
    QString text = mExt->toPlainText();
    if (text.isEmpty())
        return {};
    if (text.endsWith(u'\n'))
        text.chop(1);
    return text.split(u'\n');
}

bool TFormSemDialog::SaveExtList(int kind)
{
    TTrailGuard guard(Module, "procedure TFormSemDialog.sbSaveExtClick(Sender: TObject);",
                      TrailArg("kind", kind));
    if (kind < 0 || kind >= SemExtCount)
        return false;
    const QStringList lines = ExtMemoLines();
    if (CodesMoved(ExtShownLines, lines) &&
        ShowMsgDialog(QStringLiteral("Коды значений изменятся!"),
                      QStringLiteral("Строки списка переставлены или удалены; в существующих "
                                     "планах их коды будут означать другие значения. Enter, "
                                     "Готово - сохранить; Esc - отмена")) != mrOk)
        return false;
    QStringList full{QString()};
    full += lines;
    // Written first: a list the file refuses (a character outside code page 1251) stays
    // in memory as it was.
    WriteTextFileLines(TSemCodec::ClassifierPath(TSemCodec::ValueListFileName(kind)), full);
    Codec().SL[kind] = full;
    ExtShownLines = lines;
    ExtEdited = false;
    return true;
}

void TFormSemDialog::AskSaveExtEdit()
{
    if (!ExtEdited || ExtShownTab < 0)
        return;
    if (ShowMsgDialog(QStringLiteral("Изменения не сохранены!"),
                      QStringLiteral("Изменения не сохранены; Enter, Готово - сохранить; Esc, "
                                     "закрыть- отмена ")) == mrOk)
        SaveExtList(ExtShownTab);
    ExtEdited = false;
}

void TFormSemDialog::done(int r)
{
    if (!Closing && isVisible() && Mode == 4) {
        Closing = true;
        struct TReset {
            bool& Flag;
            ~TReset() { Flag = false; }
        } reset{Closing};
        AskSaveExtEdit();
    }
    TDialogBase::done(r);
}
