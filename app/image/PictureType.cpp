#include "app/image/PictureType.h"

#include <array>

#include "app/image/CxImage.h"

namespace {

bool EndsWith(std::string_view tail, std::string_view lower) {
  if (tail.size() != lower.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != lower[i]) return false;
  }
  return true;
}

constexpr std::array<PictureFileType, 4> kFileTypes{{
    {-1, "サポートファイル",
     "*.bmp;*.gif;*.jpg;*.jpeg;*.png;*.ico;*.tif;*.tiff;*.tga;*.pcx;*.wbmp;*.wmf;*.emf;*.j2k;*.jp2;"
     "*.jbg;*.j2c;*.jpc;*.pgx;*.pnm;*.pgm;*.ppm;*.ras",
     false, false},
    {1, "24 ﾋﾞｯﾄ ﾋﾞｯﾄﾏｯﾌﾟ (*.bmp)", "*.bmp", true, true},
    {2, "GIFファイル", "*.gif", false, false},
    {3, "JPEG (*.JPG)", "*.jpg;*.jpeg", true, true},
}};

}  // namespace

uint32_t PictureTypeFromName(std::string_view name) {
  // Extensions are ASCII, so comparing the last bytes finds exactly the names whose last
  // characters match.
  const std::string_view e3 = name.size() > 3 ? name.substr(name.size() - 3) : name;
  const std::string_view e4 = name.size() > 4 ? name.substr(name.size() - 4) : name;
  const auto is3 = [&](std::string_view ext) { return EndsWith(e3, ext); };
  if (EndsWith(e4, "wbmp")) return CXIMAGE_FORMAT_WBMP;
  if (is3("bmp")) return CXIMAGE_FORMAT_BMP;
  if (is3("gif")) return CXIMAGE_FORMAT_GIF;
  if (is3("jpg") || EndsWith(e4, "jpeg")) return CXIMAGE_FORMAT_JPG;
  if (is3("png")) return CXIMAGE_FORMAT_PNG;
  if (is3("mng") || is3("jng")) return CXIMAGE_FORMAT_MNG;
  if (is3("ico")) return CXIMAGE_FORMAT_ICO;
  if (is3("tif") || EndsWith(e4, "tiff")) return CXIMAGE_FORMAT_TIF;
  if (is3("tga")) return CXIMAGE_FORMAT_TGA;
  if (is3("pcx")) return CXIMAGE_FORMAT_PCX;
  if (is3("wmf") || is3("emf")) return CXIMAGE_FORMAT_WMF;
  if (is3("j2k") || is3("jp2")) return CXIMAGE_FORMAT_JP2;
  if (is3("j2c") || is3("jpc")) return CXIMAGE_FORMAT_JPC;
  if (is3("pgx")) return CXIMAGE_FORMAT_PGX;
  if (is3("pnm") || is3("pgm") || is3("ppm")) return CXIMAGE_FORMAT_PNM;
  if (is3("ras")) return CXIMAGE_FORMAT_RAS;
  return CXIMAGE_FORMAT_UNKNOWN;
}

std::span<const PictureFileType> PictureFileTypes() { return kFileTypes; }
