// The drive box: a drop-down list of the machine's fixed drives and its stored letter.
#pragma once

#include <windows.h>

#include <string>

HWND CreateDriveBox(HWND parent, int id, RECT bounds);

// The entry text of a fixed drive: "C: （硬盘）", with a blank and the volume label when there is one.
std::string FixedDriveEntryText(char letter, const std::string& volumeLabel);

// Empties the list, lists every fixed drive and selects the preferred letter's entry.
void FillDriveBox(HWND driveBox);

// The stored letter, or the current drive's letter when none is stored; one upper-case letter.
std::string SelectedDriveLetter(HWND driveBox);

// Selects the entry of the first character's drive (the current drive for an empty text) and
// stores its letter; with no such entry nothing is selected and the stored letter is cleared.
void SelectDriveByLetter(HWND driveBox, const std::string& drive);

// The user accepted a selection in the list.
void OnDriveBoxSelectionAccepted(HWND driveBox);
