// The real windows behind the find-sheet, nomenclature-input, sheet-choice,
// delete-by-code and transformation hooks of ProgramDialogs.
#pragma once

void InstallFindDialogWindows();
