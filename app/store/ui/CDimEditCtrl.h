#pragma once

#include <wx/textctrl.h>

#include <array>
#include <string>
#include <string_view>

// A single-line edit box that shows a dimmed prompt while it is empty and hands its text to
// a notify window when the user presses Enter. The main frame's search box is one, with the
// prompt "検索" and the text tab's view as notify window. It knows nothing about searching.
// The box stays a native text field, so input methods work as everywhere else.
class CDimEditCtrl : public wxTextCtrl {
 public:
  static constexpr std::size_t kMaxPromptBytes = 128;

  CDimEditCtrl() = default;
  CDimEditCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
               const wxSize& size = wxDefaultSize, long style = 0);
  bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = 0);

  // At most 128 bytes of the text, never cutting a character; an absent text (nullptr)
  // gives an empty prompt.
  void SetPrompt(const char* utf8);
  const std::string& GetPrompt() const { return m_prompt; }
  std::size_t GetPromptLength() const { return m_prompt.size(); }

  // Receives EVT_DIM_EDIT_ENTER (posted, with this box as event object) on Enter.
  void SetNotifyWindow(wxWindow* window) { m_notify = window; }
  wxWindow* GetNotifyWindow() const { return m_notify; }

  void SetShowPrompt(bool show);
  bool IsShowingPrompt() const { return m_showPrompt; }
  // Whether the prompt is on screen now: wanted, not empty, and the box holds no text.
  bool IsPromptVisible() const;

  // The prompt's colour: the window colour with each channel moved by the offsets (−64 by
  // default), wrapping modulo 256 as byte arithmetic does.
  wxColour GetPromptColour() const { return m_promptColour; }
  void SetPromptColourOffsets(int red, int green, int blue);
  static wxColour PromptColourFor(const wxColour& window, const std::array<int, 3>& offsets);
  // Recomputes the colour from the current window colour (after system colours changed).
  void RecomputePromptColour();

 private:
  void OnText(wxCommandEvent& event);
  void OnEnter(wxCommandEvent& event);
  void OnFocus(wxFocusEvent& event);
  void OnSysColourChanged(wxSysColourChangedEvent& event);
  void Init();

 public:
  // Draws the prompt over the native field; called after the field has drawn itself.
  void DrawPrompt(void* cairoContext);

 private:
  wxWindow* m_notify = nullptr;
  std::string m_prompt;
  bool m_showPrompt = true;
  std::array<int, 3> m_offsets{-64, -64, -64};
  bool m_useOffsets = true;
  wxColour m_promptColour;
};

// Posted to the notify window when Enter is pressed in a CDimEditCtrl; GetEventObject() is
// the box, whose current text the receiver reads.
wxDECLARE_EVENT(EVT_DIM_EDIT_ENTER, wxCommandEvent);
