#pragma once

#include <wx/string.h>

#include <memory>
#include <string>
#include <string_view>

class wxTextEntryDialog;
class wxWindow;

namespace capture {

// The windows of the desktop action speak Japanese like Clipwren: the toolkit names stock
// buttons after the desktop's language, which a fresh machine does not have in Japanese.

// The address window, `address` filled in; the field has the keys from the start.
std::unique_ptr<wxTextEntryDialog> MakeAddressDialog(const wxString& address);

// Names the cancel button of a progress or message window "キャンセル".
void NameCancelButton(wxWindow& window);

// What the progress window shows for a step the capture reports. The steps are written for a
// terminal in English; a line of no known step keeps `shown`.
wxString ProgressStepText(std::string_view step, const wxString& shown);

// The message of a failed capture: what went wrong in Japanese, then the capture's own
// detail (the browser's error name, the folder kept and the like).
wxString FailureText(int exitCode, const std::string& detail);

}  // namespace capture
