// A clerk who starts the dialog from its Start-menu shortcut and saves one account: the shortcut,
// named as the window is captioned, is read through the shell (IShellLinkW), its target started
// in its working directory, and the bank, branch and account typed into the window as keyboard
// messages, Tab after each and Enter on "Grabar", which the program's own dialog manager takes as
// a user's keys.
//   shortcut_clerk MENU_FOLDER BANK BRANCH ACCOUNT
// Prints the shortcut's target and working directory (UTF-8, one a line). Exit status 0 when
// the program saved and closed by itself with status 0, 1 otherwise, saying why.
#include <windows.h>

#include <objbase.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr DWORD kPatience = 10000; // ms for each step: the window, a focus change, the exit
constexpr int kBanco = 100, kSucursal = 101, kCuenta = 102, kGrabar = 103;
constexpr const wchar_t* kCaption = L"C\u00E1lculo d\u00EDgitos control bancario";

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "shortcut_clerk: %s\n", what);
    std::exit(1);
}

std::string utf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, result.data(), size, nullptr, nullptr);
    result.resize(static_cast<std::size_t>(size) - 1);
    return result;
}

struct Shortcut {
    std::wstring target;
    std::wstring workingDirectory;
};

Shortcut readShortcut(const std::wstring& link) {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {
        fail("COM would not start");
    }
    IShellLinkW* shellLink = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&shellLink))) ||
        FAILED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) ||
        FAILED(file->Load(link.c_str(), STGM_READ))) {
        fail("the shortcut cannot be read");
    }
    wchar_t target[MAX_PATH]{}, directory[MAX_PATH]{};
    if (FAILED(shellLink->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH)) ||
        FAILED(shellLink->GetWorkingDirectory(directory, MAX_PATH))) {
        fail("the shortcut names no target or working directory");
    }
    file->Release();
    shellLink->Release();
    CoUninitialize();
    return {target, directory};
}

// Waits for a condition, looking every 20 ms.
template <typename Condition>
bool waitFor(Condition condition) {
    for (DWORD waited = 0; waited < kPatience; waited += 20) {
        if (condition()) {
            return true;
        }
        Sleep(20);
    }
    return condition();
}

struct Search {
    DWORD processId;
    HWND window;
};

BOOL CALLBACK findDialog(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<Search*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    wchar_t caption[64]{};
    GetWindowTextW(window, caption, 64);
    if (owner == search->processId && std::wstring(caption) == kCaption) {
        search->window = window;
        return FALSE;
    }
    return TRUE;
}

class Clerk {
public:
    Clerk(HWND dialog, DWORD thread) : m_dialog(dialog), m_thread(thread) {}

    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(m_thread, &info) ? info.hwndFocus : nullptr;
    }
    bool focusOn(int id) const {
        return waitFor([&] { return focus() == GetDlgItem(m_dialog, id); });
    }
    void type(const std::wstring& keys) const {
        for (wchar_t key : keys) {
            PostMessageW(focus(), WM_CHAR, key, 1);
        }
    }
    // A key pressed and released, with its scan code, as the keyboard sends it.
    void press(WPARAM key, LPARAM scan) const {
        HWND target = focus();
        PostMessageW(target, WM_KEYDOWN, key, 1 | (scan << 16));
        PostMessageW(target, WM_KEYUP, key, 1 | (scan << 16) | (3LL << 30));
    }

private:
    HWND m_dialog;
    DWORD m_thread;
};

} // namespace

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count != 5) {
        fail("usage: shortcut_clerk MENU_FOLDER BANK BRANCH ACCOUNT");
    }
    // The name is built here, not passed: a command line's accents depend on Wine's locale.
    const Shortcut shortcut =
        readShortcut(std::wstring(arguments[1]) + L"\\" + kCaption + L".lnk");
    std::printf("%s\n%s\n", utf8(shortcut.target).c_str(), utf8(shortcut.workingDirectory).c_str());
    std::fflush(stdout);

    std::wstring commandLine = L"\"" + shortcut.target + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(shortcut.target.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, shortcut.workingDirectory.c_str(), &startup, &process)) {
        fail("the shortcut's target would not start");
    }
    Search search{process.dwProcessId, nullptr};
    const bool shown = waitFor([&] {
        EnumWindows(findDialog, reinterpret_cast<LPARAM>(&search));
        return search.window != nullptr;
    });
    const auto giveUp = [&](const char* what) {
        TerminateProcess(process.hProcess, 1);
        fail(what);
    };
    if (!shown) {
        giveUp("the dialog did not appear");
    }
    const Clerk clerk(search.window, GetWindowThreadProcessId(search.window, nullptr));
    const int fields[] = {kBanco, kSucursal, kCuenta};
    for (int field = 0; field < 3; ++field) {
        if (!clerk.focusOn(fields[field])) {
            giveUp("the focus did not reach the next field");
        }
        clerk.type(arguments[2 + field]);
        clerk.press(VK_TAB, 0x0F);
    }
    if (!clerk.focusOn(kGrabar)) {
        giveUp("the focus did not reach \"Grabar\"");
    }
    clerk.press(VK_RETURN, 0x1C);
    if (WaitForSingleObject(process.hProcess, kPatience) != WAIT_OBJECT_0) {
        giveUp("the dialog did not close on \"Grabar\"");
    }
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    if (status != 0) {
        fail("the program ended with a status other than 0");
    }
    return 0;
}
