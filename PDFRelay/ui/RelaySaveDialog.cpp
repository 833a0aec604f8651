#include "PDFRelay/ui/RelaySaveDialog.h"

#include <gtk/gtk.h>
#include <wx/display.h>
#include <wx/filedlg.h>
#include <wx/filedlgcustomize.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <algorithm>

#include "PDFRelay/FileInUse.h"

namespace pdfrelay {
namespace {

wxString Wx(const std::string& s) { return wxString::FromUTF8(s); }

// The check box below the file list. Its state becomes the flag only when the user accepts;
// a cancelled dialog leaves the remembered state alone.
class OpenAfterSaveHook : public wxFileDialogCustomizeHook {
 public:
  explicit OpenAfterSaveHook(int& flag) : m_flag(flag) {}

  void AddCustomControls(wxFileDialogCustomize& customizer) override {
    m_check = customizer.AddCheckBox(wxString::FromUTF8(kOpenAfterSaveLabel));
    m_check->SetValue(m_flag != 0);
  }
  void TransferDataFromCustomControls() override {
    if (m_check) m_flag = m_check->GetValue() ? 1 : 0;
  }

 private:
  int& m_flag;
  wxFileDialogCheckBox* m_check = nullptr;
};

void ShowRefusal(const char* text, wxWindow* parent) {
  wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(kDialogTitle), wxOK | wxICON_WARNING,
               parent);
}

// GTK asks this before it confirms replacing an existing file. A file another process is
// using, or one marked read-only, is refused here, so the dialog stays open with the name
// still in it; any other file goes on to the usual "replace?" question.
GtkFileChooserConfirmation OnConfirmOverwrite(GtkFileChooser* chooser, gpointer data) {
  gchar* name = gtk_file_chooser_get_filename(chooser);
  const char* refusal = nullptr;
  if (name && IsFileInUse(name))
    refusal = kFileInUseText;
  else if (name && IsReadOnlyFile(name))
    refusal = kReadOnlyText;
  g_free(name);
  if (!refusal) return GTK_FILE_CHOOSER_CONFIRMATION_CONFIRM;
  ShowRefusal(refusal, static_cast<wxWindow*>(data));
  return GTK_FILE_CHOOSER_CONFIRMATION_SELECT_AGAIN;
}

// The size the chooser last had when the user resized it, as GTK remembers it; none when it
// never was or the setting is not there.
bool ChooserSizeRemembered() {
  GSettingsSchemaSource* source = g_settings_schema_source_get_default();
  GSettingsSchema* schema =
      source ? g_settings_schema_source_lookup(source, "org.gtk.Settings.FileChooser", TRUE)
             : nullptr;
  if (!schema) return false;
  const bool hasKey = g_settings_schema_has_key(schema, "window-size");
  g_settings_schema_unref(schema);
  if (!hasKey) return false;
  GSettings* settings = g_settings_new("org.gtk.Settings.FileChooser");
  int width = -1, height = -1;
  g_settings_get(settings, "window-size", "(ii)", &width, &height);
  g_object_unref(settings);
  return width > 0 && height > 0;
}

// Left to itself the chooser sizes itself for a long list, nearly the whole of a small
// screen; it opens at an ordinary dialog size instead, kept inside the screen's work area.
void GiveChooserItsOpeningSize(GtkWindow* window) {
  if (ChooserSizeRemembered()) return;
  constexpr int kOpeningWidth = 760, kOpeningHeight = 540;
  const wxRect area = wxDisplay().GetClientArea();  // the dialog is centred on the screen
  const int width = std::min(kOpeningWidth, area.width * 9 / 10);
  const int height = std::min(kOpeningHeight, area.height * 9 / 10);
  gtk_window_resize(window, width, height);
  gtk_window_move(window, area.x + (area.width - width) / 2, area.y + (area.height - height) / 2);
}

// GTK gives the chooser its own size when it maps it, so the opening size follows that.
void OnChooserMapped(GtkWidget* widget, gpointer) { GiveChooserItsOpeningSize(GTK_WINDOW(widget)); }

}  // namespace

std::optional<std::string> CRelaySaveDialog::AskSavePath(const std::string& proposedName,
                                                         const std::string& startFolder,
                                                         int& openAfterSave) {
  std::string name = proposedName;
  std::string folder = startFolder;
  for (;;) {
    wxFileDialog dialog(nullptr, Wx(kDialogTitle), Wx(folder), Wx(name), Wx(kPdfFilter),
                        wxFD_SAVE | wxFD_OVERWRITE_PROMPT);
    OpenAfterSaveHook hook(openAfterSave);
    dialog.SetCustomizeHook(hook);
    if (GtkWidget* widget = dialog.GetHandle()) {
      gtk_window_set_position(GTK_WINDOW(widget), GTK_WIN_POS_CENTER);
      gtk_window_set_keep_above(GTK_WINDOW(widget), TRUE);
      g_signal_connect(widget, "confirm-overwrite", G_CALLBACK(OnConfirmOverwrite), &dialog);
      g_signal_connect_after(widget, "map", G_CALLBACK(OnChooserMapped), nullptr);
    }
    dialog.CentreOnScreen();
    if (dialog.ShowModal() != wxID_OK) return std::nullopt;

    std::string path = dialog.GetPath().utf8_string();
    if (path.empty()) return std::nullopt;
    const std::filesystem::path chosen(path);
    name = chosen.filename().string();
    folder = chosen.parent_path().string();

    // A name typed without an extension gets ".pdf". When that names an existing file the
    // dialog never asked about it, so it comes back with the full name for the user to
    // confirm there.
    if (chosen.extension().empty()) {
      path += ".pdf";
      name += ".pdf";
      std::error_code error;
      if (std::filesystem::exists(path, error)) continue;
    }

    if (!CanCreateFilesIn(chosen.parent_path())) {
      ShowRefusal(kFolderNotWritableText, nullptr);
      continue;
    }

    // The old file goes now, so the printer's monitor never meets it; one that came into use
    // after the question brings the dialog back.
    if (DeleteUnlessInUse(path) != ReplaceResult::kInUse) return path;
    ShowRefusal(kFileInUseText, nullptr);
  }
}

void CRelaySaveDialog::OpenDocument(const std::string& path) {
  (void)wxLaunchDefaultApplication(Wx(path));
}

}  // namespace pdfrelay
