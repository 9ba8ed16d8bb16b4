#include "PasswordDialog.h"
#include "PasswordDialogIds.h"
#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// The edit box takes what fits the caller's buffer, within the int that
// the system's text calls count in.
constexpr int MaxTypedLength = INT_MAX - 1;

struct Answer {
    char* buffer;
    DWORD size;
};

HINSTANCE LibraryInstance() {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&LibraryInstance), &self);
    return self;
}

void TakeAnswer(HWND dialog, const Answer& answer) {
    GetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, answer.buffer, int(std::min<DWORD>(answer.size, INT_MAX)));
    answer.buffer[answer.size - 1] = '\0';
    // Leave no copy of the password in the edit control's memory.
    SetDlgItemTextA(dialog, IDC_PASSWORD_EDIT, "");
}

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const Answer* answer = reinterpret_cast<const Answer*>(lParam);
        DWORD limit = answer->size - 1 < DWORD(MaxTypedLength) ? answer->size - 1 : DWORD(MaxTypedLength);
        // A limit of 0 would mean "no limit" to the edit control.
        SendDlgItemMessageA(dialog, IDC_PASSWORD_EDIT, EM_LIMITTEXT, limit ? limit : 1, 0);
        // The agent asking for it has no visible window of its own.
        SetForegroundWindow(dialog);
        SetFocus(GetDlgItem(dialog, IDC_PASSWORD_EDIT));
        return FALSE;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            TakeAnswer(dialog, *reinterpret_cast<const Answer*>(GetWindowLongPtrA(dialog, DWLP_USER)));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

}  // namespace

DWORD AskTogglePassword(char* buffer, DWORD size) {
    if (!buffer || size == 0) return 0;
    buffer[0] = '\0';
    Answer answer{buffer, size};
    INT_PTR result = DialogBoxParamA(LibraryInstance(), MAKEINTRESOURCEA(IDD_TOGGLE_PASSWORD), nullptr,
                                     DialogProc, reinterpret_cast<LPARAM>(&answer));
    if (result != IDOK) {
        buffer[0] = '\0';
        return 0;
    }
    return DWORD(strnlen(buffer, size));
}
