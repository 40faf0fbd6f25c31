#pragma once

#include <string>

#include "core/Component.h"
#include "core/Set.h"
#include "ui/classlib/Forms.h"

// The modal message box with the classic look: an icon, the text, and a
// row of buttons. Enter presses the focused (at first the default) button,
// Escape the Cancel button (or OK when it is alone), Tab and Shift+Tab and
// the arrow keys move between the buttons, Space presses the focused one,
// and a button's underlined letter presses it.
namespace ui {

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn { mbYes, mbNo, mbOK, mbCancel, mbAbort, mbRetry, mbIgnore, mbAll, mbNoToAll, mbYesToAll, mbHelp };
using TMsgDlgButtons = core::TSet<TMsgDlgBtn>;

// MessageBox flags and answers, with the classic values (the answers are
// the modal results mrOk ... mrNo).
constexpr unsigned MB_OK = 0x0000;
constexpr unsigned MB_OKCANCEL = 0x0001;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x0002;
constexpr unsigned MB_YESNOCANCEL = 0x0003;
constexpr unsigned MB_YESNO = 0x0004;
constexpr unsigned MB_RETRYCANCEL = 0x0005;
constexpr unsigned MB_ICONHAND = 0x0010;
constexpr unsigned MB_ICONSTOP = MB_ICONHAND;
constexpr unsigned MB_ICONERROR = MB_ICONHAND;
constexpr unsigned MB_ICONQUESTION = 0x0020;
constexpr unsigned MB_ICONEXCLAMATION = 0x0030;
constexpr unsigned MB_ICONWARNING = MB_ICONEXCLAMATION;
constexpr unsigned MB_ICONASTERISK = 0x0040;
constexpr unsigned MB_ICONINFORMATION = MB_ICONASTERISK;
constexpr unsigned MB_DEFBUTTON1 = 0x0000;
constexpr unsigned MB_DEFBUTTON2 = 0x0100;
constexpr unsigned MB_DEFBUTTON3 = 0x0200;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Shows a message box and returns the button pressed (IDOK ...); closing
// it otherwise answers IDCANCEL, or IDOK for a box with only OK. Needs an
// Application.
int MessageBox(const std::string& text, const std::string& caption, unsigned flags);

// The message dialog of the classic library: the type gives the caption
// ("Warning", "Error", "Information", "Confirm") and the icon; the default
// button is the first of OK, Yes; the cancel button the first of Cancel,
// No, OK.
TModalResult MessageDlg(const std::string& message, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpContext = 0);
// The dialog without showing it (the caller shows it with ShowModal).
core::TComponentPtr<TForm> CreateMessageDialog(const std::string& message, TMsgDlgType type,
                                               TMsgDlgButtons buttons);
void ShowMessage(const std::string& message);

}  // namespace ui
