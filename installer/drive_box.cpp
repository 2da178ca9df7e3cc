// The drive box: a drop-down list of the machine's fixed drives and its stored letter.
#include "drive_box.h"

namespace {

constexpr char kStoredLetterProperty[] = "Korvexa.StoredLetter";

char UpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
}

char StoredLetter(HWND driveBox)
{
    return static_cast<char>(reinterpret_cast<INT_PTR>(GetPropA(driveBox, kStoredLetterProperty)));
}

void StoreLetter(HWND driveBox, char letter)
{
    if (letter)
        SetPropA(driveBox, kStoredLetterProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(letter)));
    else
        RemovePropA(driveBox, kStoredLetterProperty);
}

char CurrentDriveLetter()
{
    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, folder);
    return UpperAscii(folder[0]);
}

// Selects the entry carrying the letter; false when there is none.
bool SelectEntryOfLetter(HWND driveBox, char letter)
{
    LRESULT count = SendMessageA(driveBox, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        if (static_cast<char>(SendMessageA(driveBox, CB_GETITEMDATA, i, 0)) == letter) {
            SendMessageA(driveBox, CB_SETCURSEL, i, 0);
            StoreLetter(driveBox, letter);
            return true;
        }
    }
    SendMessageA(driveBox, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    StoreLetter(driveBox, 0);
    return false;
}

} // namespace

HWND CreateDriveBox(HWND parent, int id, RECT bounds)
{
    // The height given is that of the box with its opened list.
    const int height = bounds.bottom - bounds.top < 80 ? 80 : bounds.bottom - bounds.top;
    HWND driveBox = CreateWindowExA(0, "COMBOBOX", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST,
                                    bounds.left, bounds.top, bounds.right - bounds.left, height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                    reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)), nullptr);
    if (driveBox)
        SendMessageA(driveBox, CB_SETDROPPEDWIDTH, 160, 0); // wide enough to read the entries
    return driveBox;
}

std::string FixedDriveEntryText(char letter, const std::string& volumeLabel)
{
    std::string text{letter, ':'};
    text += " （硬盘）";
    if (!volumeLabel.empty())
        text += " " + volumeLabel;
    return text;
}

void FillDriveBox(HWND driveBox)
{
    SendMessageA(driveBox, CB_RESETCONTENT, 0, 0);
    char preferred = StoredLetter(driveBox);
    if (!preferred)
        preferred = CurrentDriveLetter();

    char roots[MAX_PATH] = {};
    DWORD length = GetLogicalDriveStringsA(MAX_PATH, roots);
    if (length >= MAX_PATH)
        length = 0;
    for (const char* root = roots; root < roots + length && *root; root += lstrlenA(root) + 1) {
        if (GetDriveTypeA(root) != DRIVE_FIXED)
            continue;
        char volumeName[499] = {};
        if (!GetVolumeInformationA(root, volumeName, sizeof volumeName, nullptr, nullptr, nullptr, nullptr, 0))
            volumeName[0] = '\0';
        char letter = UpperAscii(root[0]);
        LRESULT index = SendMessageA(driveBox, CB_ADDSTRING, 0,
                                     reinterpret_cast<LPARAM>(FixedDriveEntryText(letter, volumeName).c_str()));
        if (index >= 0)
            SendMessageA(driveBox, CB_SETITEMDATA, index, static_cast<LPARAM>(letter));
    }
    SelectEntryOfLetter(driveBox, preferred);
}

std::string SelectedDriveLetter(HWND driveBox)
{
    char letter = StoredLetter(driveBox);
    return std::string(1, letter ? letter : CurrentDriveLetter());
}

void SelectDriveByLetter(HWND driveBox, const std::string& drive)
{
    char letter = drive.empty() ? CurrentDriveLetter() : UpperAscii(drive[0]);
    SelectEntryOfLetter(driveBox, letter);
}

void OnDriveBoxSelectionAccepted(HWND driveBox)
{
    LRESULT selected = SendMessageA(driveBox, CB_GETCURSEL, 0, 0);
    char letter = selected >= 0 ? static_cast<char>(SendMessageA(driveBox, CB_GETITEMDATA, selected, 0)) : 0;
    StoreLetter(driveBox, letter);
}
