#pragma once

#include <cstdint>
#include <memory>
#include <string>

class wxFileDialog;
class wxWindow;

// The picture export's save dialog "画像書き出し": BMP and JPEG offered, the given type chosen,
// the proposed file (folder and name) filled in with the chosen type's extension.
std::unique_ptr<wxFileDialog> NewExportDialog(wxWindow* parent, const std::string& proposed,
                                              uint32_t type);
