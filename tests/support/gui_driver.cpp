// Driving a real program of this build from outside, as a user would.
#include "gui_driver.h"

#include <fstream>

namespace {

struct WindowSearch {
    DWORD processId;
    const char* className;
    const std::string* title;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM context)
{
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != search->processId || !IsWindowVisible(window))
        return TRUE;
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (search->className && lstrcmpA(className, search->className) != 0)
        return TRUE;
    if (search->title && WindowText(window) != *search->title)
        return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForTopLevel(DWORD processId, const char* className, const std::string* title, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    do {
        WindowSearch search{processId, className, title, nullptr};
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(50);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

} // namespace

StartedProgram StartProgram(const std::string& exePath, const std::string& currentFolder, const std::string& arguments)
{
    std::string commandLine = "\"" + exePath + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{sizeof startup};
    PROCESS_INFORMATION info{};
    StartedProgram program;
    if (CreateProcessA(exePath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info)) {
        CloseHandle(info.hThread);
        program.process = UniqueHandle(info.hProcess);
        program.processId = info.dwProcessId;
    }
    return program;
}

HWND WaitForWindow(DWORD processId, const std::string& title, DWORD timeoutMs)
{
    return WaitForTopLevel(processId, nullptr, &title, timeoutMs);
}

HWND WaitForMessageBox(DWORD processId, DWORD timeoutMs)
{
    return WaitForTopLevel(processId, "#32770", nullptr, timeoutMs);
}

MessageBoxTexts ReadMessageBox(HWND box)
{
    MessageBoxTexts texts;
    texts.caption = WindowText(box);
    // The message is the static control with id 0xFFFF.
    texts.text = WindowText(GetDlgItem(box, 0xFFFF));
    return texts;
}

DWORD WaitForExitCode(const StartedProgram& program, DWORD timeoutMs)
{
    if (WaitForSingleObject(program.process.Get(), timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(program.process.Get(), &code);
    return code;
}

HWND ChildAt(HWND parent, int left, int top)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT rect = ClientRectInParent(child);
        if (rect.left == left && rect.top == top)
            return child;
    }
    return nullptr;
}

RECT ClientRectInParent(HWND child)
{
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::string WindowText(HWND window)
{
    wchar_t text[512] = {};
    int length = GetWindowTextW(window, text, 512);
    char gbk[1024] = {};
    int bytes = WideCharToMultiByte(936, 0, text, length, gbk, sizeof gbk, nullptr, nullptr);
    return std::string(gbk, bytes);
}

std::vector<std::string> ComboBoxEntries(HWND comboBox)
{
    std::vector<std::string> entries;
    LRESULT count = SendMessageW(comboBox, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        wchar_t text[512] = {};
        SendMessageW(comboBox, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
        char gbk[1024] = {};
        int bytes = WideCharToMultiByte(936, 0, text, -1, gbk, sizeof gbk, nullptr, nullptr);
        entries.emplace_back(gbk, bytes > 0 ? bytes - 1 : 0);
    }
    return entries;
}

void ClickAt(POINT screenPoint)
{
    SetCursorPos(screenPoint.x, screenPoint.y);
    Sleep(50);
    for (DWORD button : {MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP}) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = button;
        SendInput(1, &input, sizeof input);
        Sleep(50);
    }
}

bool SaveWindowPicture(HWND window, const std::string& bmpPath)
{
    RECT rect;
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB};
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = (width * 3 + 3) & ~3;
    const DWORD imageSize = stride * height;
    BITMAPFILEHEADER file{0x4D42, static_cast<DWORD>(sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER) + imageSize), 0, 0,
                          sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    std::ofstream out(bmpPath, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), imageSize);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return static_cast<bool>(out);
}
