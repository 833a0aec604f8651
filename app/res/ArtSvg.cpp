#include "app/res/ArtSvg.h"

#include <array>

#include "app/res/Resource.h"

namespace res::art {
namespace {

std::string Document(int width, int height, int viewWidth, int viewHeight, std::string_view body) {
  std::string s = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) +
                  "\" height=\"" + std::to_string(height) + "\" viewBox=\"0 0 " +
                  std::to_string(viewWidth) + " " + std::to_string(viewHeight) + "\">";
  s += body;
  s += "</svg>";
  return s;
}

// Bodies are written with the placeholder INK for the outline colour, so the hot strip can
// differ from the normal one in a single place.
std::string WithInk(std::string body, std::string_view ink) {
  for (std::size_t pos = body.find("INK"); pos != std::string::npos; pos = body.find("INK", pos))
    body.replace(pos, 3, ink);
  return body;
}

std::string Pen(std::string_view colour, std::string_view width) {
  return std::string("<path d=\"M2 18h10\" stroke=\"") + std::string(colour) +
         "\" stroke-width=\"" + std::string(width) +
         "\" stroke-linecap=\"round\"/>"
         "<path d=\"M13.5 1.8l4.2 4.2-9.2 9.2-5.3 1.1 1.1-5.3z\" fill=\"#f4f6f8\" stroke=\"INK\" "
         "stroke-width=\"1.1\" stroke-linejoin=\"round\"/>"
         "<path d=\"M11.4 3.9l4.2 4.2\" stroke=\"INK\" stroke-width=\"1\"/>"
         "<path d=\"M4.3 11l4.2 4.2-5.3 1.1z\" fill=\"" +
         std::string(colour) + "\" stroke=\"INK\" stroke-width=\"0.9\" stroke-linejoin=\"round\"/>";
}

std::string Marker(std::string_view colour) {
  return std::string("<path d=\"M1.5 17.5h12\" stroke=\"") + std::string(colour) +
         "\" stroke-width=\"3.5\" stroke-opacity=\"0.75\" stroke-linecap=\"round\"/>"
         "<path d=\"M12.5 1.5l5 5-7.5 7.5-5-5z\" fill=\"#f4f6f8\" stroke=\"INK\" "
         "stroke-width=\"1.1\" "
         "stroke-linejoin=\"round\"/>"
         "<path d=\"M5 9l5 5-2 2-4.5.5-.5-4.5z\" fill=\"" +
         std::string(colour) + "\" stroke=\"INK\" stroke-width=\"1\" stroke-linejoin=\"round\"/>";
}

constexpr std::string_view kEraser =
    "<path d=\"M11.5 2.5l6 6-8 8H6L2.5 13z\" fill=\"#f1948a\" stroke=\"INK\" stroke-width=\"1.1\" "
    "stroke-linejoin=\"round\"/>"
    "<path d=\"M7 8l6 6-3.5 3.5H6L2.5 13z\" fill=\"#ffffff\" stroke=\"INK\" stroke-width=\"1.1\" "
    "stroke-linejoin=\"round\"/>"
    "<path d=\"M11 18h7\" stroke=\"INK\" stroke-width=\"1\" stroke-linecap=\"round\"/>";

constexpr std::string_view kMagnifier =
    "<circle cx=\"8.5\" cy=\"8.5\" r=\"5.5\" fill=\"#e8f2fb\" stroke=\"INK\" stroke-width=\"1.6\"/>"
    "<path d=\"M12.6 12.6l4.8 4.8\" stroke=\"INK\" stroke-width=\"2.6\" stroke-linecap=\"round\"/>";

// The pen pictures in pen order (black thin, black thick, red thin, yellow, green, blue and
// pink highlighters, eraser); the tool strip holds them at 23…30 and the pen menu shows them.
std::string PenPicture(int pen) {
  switch (pen) {
    case 0:
      return Pen("#1b1b1b", "1.2");
    case 1:
      return Pen("#1b1b1b", "2.8");
    case 2:
      return Pen("#d62c1a", "1.2");
    case 3:
      return Marker("#f7e01d");
    case 4:
      return Marker("#4cd964");
    case 5:
      return Marker("#4aa3ff");
    case 6:
      return Marker("#ff6fb5");
    case 7:
      return std::string(kEraser);
    default:
      return {};
  }
}

std::string ToolBody(int index) {
  switch (index) {
    case 0:  // save
      return "<path d=\"M3 3h11l3 3v11H3z\" fill=\"#5b8dd6\" stroke=\"INK\" stroke-width=\"1.2\" "
             "stroke-linejoin=\"round\"/>"
             "<rect x=\"6\" y=\"3.6\" width=\"7\" height=\"4.4\" fill=\"#eef3fa\" stroke=\"INK\" "
             "stroke-width=\"0.8\"/><rect x=\"10.4\" y=\"4.3\" width=\"1.6\" height=\"3\" "
             "fill=\"INK\"/><rect x=\"5.5\" y=\"11\" width=\"9\" height=\"5.4\" rx=\"0.6\" "
             "fill=\"#ffffff\" stroke=\"INK\" stroke-width=\"0.8\"/>";
    case 1:  // crop
      return "<path d=\"M5.5 2v12.5H18\" fill=\"none\" stroke=\"INK\" stroke-width=\"2\" "
             "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>"
             "<path d=\"M2 5.5h12.5V18\" fill=\"none\" stroke=\"#c0392b\" stroke-width=\"2\" "
             "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>";
    case 2:  // undo
      return "<path d=\"M7 7.5h6a4.2 4.2 0 0 1 0 8.4H8\" fill=\"none\" stroke=\"INK\" "
             "stroke-width=\"2.1\" stroke-linecap=\"round\"/>"
             "<path d=\"M2.5 7.5L8 3v9z\" fill=\"INK\"/>";
    case 3:  // redo
      return "<path d=\"M13 7.5H7a4.2 4.2 0 0 0 0 8.4h5\" fill=\"none\" stroke=\"INK\" "
             "stroke-width=\"2.1\" stroke-linecap=\"round\"/>"
             "<path d=\"M17.5 7.5L12 3v9z\" fill=\"INK\"/>";
    case 6:  // the page's address
      return "<circle cx=\"10\" cy=\"10\" r=\"7.5\" fill=\"#8fc3ea\" stroke=\"INK\" "
             "stroke-width=\"1.2\"/><ellipse cx=\"10\" cy=\"10\" rx=\"3.2\" ry=\"7.5\" "
             "fill=\"none\" stroke=\"INK\" stroke-width=\"1\"/><path d=\"M2.5 10h15M3.8 6h12.4"
             "M3.8 14h12.4\" stroke=\"INK\" stroke-width=\"1\" fill=\"none\"/>";
    case 7:  // zoom in
      return std::string(kMagnifier) +
             "<path d=\"M6 8.5h5M8.5 6v5\" stroke=\"INK\" stroke-width=\"1.6\" "
             "stroke-linecap=\"round\"/>";
    case 8:  // zoom out
      return std::string(kMagnifier) +
             "<path d=\"M6 8.5h5\" stroke=\"INK\" stroke-width=\"1.6\" stroke-linecap=\"round\"/>";
    case 9:  // print
      return "<rect x=\"5\" y=\"2.5\" width=\"10\" height=\"5\" fill=\"#ffffff\" stroke=\"INK\" "
             "stroke-width=\"1\"/><rect x=\"2.5\" y=\"7\" width=\"15\" height=\"7\" rx=\"1.5\" "
             "fill=\"#9aa8b8\" stroke=\"INK\" stroke-width=\"1.2\"/><rect x=\"5\" y=\"11.5\" "
             "width=\"10\" height=\"6\" fill=\"#ffffff\" stroke=\"INK\" stroke-width=\"1\"/>"
             "<path d=\"M6.5 14h7M6.5 16h5\" stroke=\"INK\" stroke-width=\"0.8\"/>"
             "<circle cx=\"15\" cy=\"9.3\" r=\"0.9\" fill=\"#2ecc71\"/>";
    case 10:  // print settings
      return "<rect x=\"2.5\" y=\"2.5\" width=\"11\" height=\"15\" rx=\"1\" fill=\"#ffffff\" "
             "stroke=\"INK\" stroke-width=\"1.2\"/><path d=\"M5 6.5h6M5 9.5h6M5 12.5h4\" "
             "stroke=\"INK\" stroke-width=\"1\"/><circle cx=\"14.5\" cy=\"14.5\" r=\"3.8\" "
             "fill=\"#f5b041\" stroke=\"INK\" stroke-width=\"1.1\" stroke-dasharray=\"2.2 0.8\"/>"
             "<circle cx=\"14.5\" cy=\"14.5\" r=\"1.4\" fill=\"#ffffff\" stroke=\"INK\" "
             "stroke-width=\"0.8\"/>";
    case 11:  // print preview
      return "<path d=\"M3 2.5h8l3 3v12H3z\" fill=\"#ffffff\" stroke=\"INK\" stroke-width=\"1.2\" "
             "stroke-linejoin=\"round\"/><path d=\"M5 7h6M5 9.5h3.5\" stroke=\"INK\" "
             "stroke-width=\"0.9\"/><circle cx=\"11.5\" cy=\"12\" r=\"3.3\" fill=\"#d6eaf8\" "
             "stroke=\"INK\" stroke-width=\"1.3\"/><path d=\"M14 14.5l3.5 3.5\" stroke=\"INK\" "
             "stroke-width=\"2.2\" stroke-linecap=\"round\"/>";
    case 12:  // picture display settings
      return "<rect x=\"2.5\" y=\"2.5\" width=\"6.5\" height=\"6.5\" rx=\"0.8\" fill=\"#85c1e9\" "
             "stroke=\"INK\"/><rect x=\"11\" y=\"2.5\" width=\"6.5\" height=\"6.5\" rx=\"0.8\" "
             "fill=\"#82e0aa\" stroke=\"INK\"/><rect x=\"2.5\" y=\"11\" width=\"6.5\" "
             "height=\"6.5\" rx=\"0.8\" fill=\"#f7dc6f\" stroke=\"INK\"/><rect x=\"11\" y=\"11\" "
             "width=\"6.5\" height=\"6.5\" rx=\"0.8\" fill=\"#f1948a\" stroke=\"INK\"/>";
    case 16:  // range selection
      return "<rect x=\"2.8\" y=\"3.8\" width=\"14.4\" height=\"12.4\" fill=\"#eaf2fb\" "
             "stroke=\"INK\" stroke-width=\"1.5\" stroke-dasharray=\"2.6 1.6\"/>";
    case 17:  // copy the selected range
      return "<rect x=\"2.5\" y=\"2.5\" width=\"10\" height=\"11\" fill=\"#ffffff\" stroke=\"INK\" "
             "stroke-width=\"1.2\" stroke-dasharray=\"2.2 1.3\"/><rect x=\"7.5\" y=\"6.5\" "
             "width=\"10\" height=\"11\" rx=\"0.8\" fill=\"#d6eaf8\" stroke=\"INK\" "
             "stroke-width=\"1.2\"/>";
    case 18:  // PDF export
      return "<path d=\"M4.5 1.8h8.5l4 4V18.2H4.5z\" fill=\"#ffffff\" stroke=\"INK\" "
             "stroke-width=\"1.2\" stroke-linejoin=\"round\"/><path d=\"M13 1.8v4h4\" "
             "fill=\"none\" stroke=\"INK\" stroke-width=\"1\"/><rect x=\"1.8\" y=\"9\" "
             "width=\"13.5\" height=\"6.6\" rx=\"1\" fill=\"#d62c1a\"/><path d=\"M4 14.3v-4h1.4"
             "a1.1 1.1 0 0 1 0 2.2H4M7.6 10.3v4h1a2 2 0 0 0 0-4zM11.6 14.3v-4h2.2M11.6 12.2h1.7\" "
             "fill=\"none\" stroke=\"#ffffff\" stroke-width=\"0.95\" stroke-linejoin=\"round\"/>";
    case 19:  // shape selection
      return "<path d=\"M5 2.5v13.2l3.3-3.2 2.4 5.1 2.3-1.1-2.4-5H15z\" fill=\"#ffffff\" "
             "stroke=\"INK\" stroke-width=\"1.2\" stroke-linejoin=\"round\"/>";
    case 21:  // arrow
      return "<path d=\"M3.5 16.5L13.5 6.5\" stroke=\"#c0392b\" stroke-width=\"2.2\" "
             "stroke-linecap=\"round\"/><path d=\"M17.5 2.5l-2.3 7.6-5.3-5.3z\" fill=\"#c0392b\" "
             "stroke=\"INK\" stroke-width=\"0.8\" stroke-linejoin=\"round\"/>";
    case 22:  // text box
      return "<rect x=\"2.5\" y=\"3.5\" width=\"15\" height=\"13\" fill=\"#ffffff\" stroke=\"INK\" "
             "stroke-width=\"1.2\"/><path d=\"M6.5 14L10 6l3.5 8M7.8 11.2h4.4\" fill=\"none\" "
             "stroke=\"INK\" stroke-width=\"1.5\" stroke-linejoin=\"round\" "
             "stroke-linecap=\"round\"/>";
    case 31:  // register in Evernote
      return "<rect x=\"2.5\" y=\"2.5\" width=\"15\" height=\"15\" rx=\"3.5\" fill=\"#2dbe60\" "
             "stroke=\"INK\" stroke-width=\"1\"/><path d=\"M6 5.5h5.5L14 8v6.5H6z\" "
             "fill=\"#ffffff\"/><path d=\"M11.5 5.5V8H14\" fill=\"#bfe9cd\" stroke=\"#1e8c45\" "
             "stroke-width=\"0.7\"/><path d=\"M7.8 10.5h4.4M7.8 12.5h3\" stroke=\"#1e8c45\" "
             "stroke-width=\"0.9\"/>";
    case 32:  // send by mail
      return "<rect x=\"2\" y=\"4.5\" width=\"16\" height=\"11\" rx=\"1\" fill=\"#fdf2d0\" "
             "stroke=\"INK\" stroke-width=\"1.2\"/><path d=\"M2.6 5.2L10 11l7.4-5.8\" "
             "fill=\"none\" stroke=\"INK\" stroke-width=\"1.2\" stroke-linejoin=\"round\"/>";
    default:
      if (index >= kToolPicturePenFirst && index < kToolPicturePenFirst + 8)
        return PenPicture(index - kToolPicturePenFirst);
      return {};
  }
}

// Left-pane buttons: a rounded face in four states, with a small sign at the left; the
// caption is drawn by the button itself.
struct FaceStyle {
  std::string_view top, bottom, border;
};
constexpr FaceStyle kFaceNormal{"#fdfdfd", "#dce1e7", "#7f8c99"};
constexpr FaceStyle kFacePressed{"#c9d2dc", "#eef1f4", "#4f5d6b"};
constexpr FaceStyle kFaceHover{"#ffffff", "#d2e6f8", "#2f76c2"};
constexpr FaceStyle kFaceDisabled{"#f0f0f0", "#e4e4e4", "#b5b5b5"};

std::string Face(int w, int h, const FaceStyle& f, std::string_view sign) {
  const std::string W = std::to_string(w - 1), H = std::to_string(h - 1);
  std::string s =
      "<defs><linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" "
      "stop-color=\"" +
      std::string(f.top) + "\"/><stop offset=\"1\" stop-color=\"" + std::string(f.bottom) +
      "\"/></linearGradient></defs><rect x=\"0.5\" y=\"0.5\" width=\"" + W + "\" height=\"" + H +
      "\" rx=\"5\" fill=\"url(#g)\" stroke=\"" + std::string(f.border) + "\"/>";
  // The signs are drawn in a 24-unit box; centre it on the face.
  s += "<g transform=\"translate(" + std::to_string((w - 24) / 2) + " 0)\">";
  s += sign;
  s += "</g>";
  return s;
}

std::string Mask(int w, int h, std::string_view shape) {
  return "<rect width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
         "\" fill=\"#ffffff\"/>" + std::string(shape);
}

std::string RoundMask(int w, int h) {
  return Mask(w, h,
              "<rect x=\"0\" y=\"0\" width=\"" + std::to_string(w) + "\" height=\"" +
                  std::to_string(h) + "\" rx=\"5.5\" fill=\"#000000\"/>");
}

constexpr std::string_view kSignNewFolder =
    "<path d=\"M6 9.5h5l1.5 1.5H20v9.5H6z\" fill=\"#f5c542\" stroke=\"#9a7412\"/>"
    "<path d=\"M17 15.5h6M20 12.5v6\" stroke=\"#1e8c45\" stroke-width=\"2.2\" "
    "stroke-linecap=\"round\"/>";
constexpr std::string_view kSignDelete =
    "<path d=\"M7 9.5l9 9M16 9.5l-9 9\" stroke=\"#c0392b\" stroke-width=\"2.6\" "
    "stroke-linecap=\"round\"/>";
constexpr std::string_view kSignDeleteDisabled =
    "<path d=\"M7 9.5l9 9M16 9.5l-9 9\" stroke=\"#b5b5b5\" stroke-width=\"2.6\" "
    "stroke-linecap=\"round\"/>";
constexpr std::string_view kSignRename =
    "<path d=\"M15.5 7.5l3 3-8 8-4 1 1-4z\" fill=\"#f7dc6f\" stroke=\"#34495e\" "
    "stroke-linejoin=\"round\"/><path d=\"M5 21.5h14\" stroke=\"#34495e\" stroke-width=\"1\"/>";
constexpr std::string_view kSignRenameDisabled =
    "<path d=\"M15.5 7.5l3 3-8 8-4 1 1-4z\" fill=\"#e8e8e8\" stroke=\"#b5b5b5\" "
    "stroke-linejoin=\"round\"/><path d=\"M5 21.5h14\" stroke=\"#b5b5b5\" stroke-width=\"1\"/>";

// Tab buttons share one shape: rounded at the top, square at the bottom.
constexpr int kTabW = 96, kTabH = 26;
constexpr std::string_view kTabShape = "M0.5 26V6.5A6 6 0 0 1 6.5 0.5h83A6 6 0 0 1 95.5 6.5V26z";

std::string Tab(std::string_view top, std::string_view bottom, std::string_view border,
                std::string_view accent, std::string_view accentHeight) {
  return "<defs><linearGradient id=\"g\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\"><stop offset=\"0\" "
         "stop-color=\"" +
         std::string(top) + "\"/><stop offset=\"1\" stop-color=\"" + std::string(bottom) +
         "\"/></linearGradient></defs><path d=\"" + std::string(kTabShape) +
         "\" fill=\"url(#g)\" stroke=\"" + std::string(border) +
         "\"/><rect x=\"4\" y=\"1.5\" "
         "width=\"88\" height=\"" +
         std::string(accentHeight) + "\" rx=\"1.5\" fill=\"" + std::string(accent) + "\"/>";
}

struct TabSkin {
  int normal, down, over;
  std::string_view accent;
};
constexpr TabSkin kTabs[] = {
    {kSkinTabPageNormal, kSkinTabPageDown, kSkinTabPageOver, "#2e86de"},
    {kSkinTabCopyNormal, kSkinTabCopyDown, kSkinTabCopyOver, "#27ae60"},
    {kSkinTabTextNormal, kSkinTabTextDown, kSkinTabTextOver, "#e67e22"},
    {kSkinTabPicturesNormal, kSkinTabPicturesDown, kSkinTabPicturesOver, "#8e44ad"},
};

struct Sized {
  int w = 0, h = 0, vw = 0, vh = 0;
  std::string body;
};

Sized Lookup(int id) {
  const std::string_view ink = kInk;
  if (id >= kIdPenFirst && id <= kIdPenLast)
    return {18, 18, 20, 20, WithInk(PenPicture(id - kIdPenFirst), ink)};
  for (const TabSkin& t : kTabs) {
    if (id == t.normal)
      return {kTabW, kTabH, kTabW, kTabH, Tab("#f2f4f7", "#d5dbe2", "#7f8c99", t.accent, "2")};
    if (id == t.down)
      return {kTabW, kTabH, kTabW, kTabH, Tab("#cfd6de", "#eef1f4", "#4f5d6b", t.accent, "3")};
    if (id == t.over)
      return {kTabW, kTabH, kTabW, kTabH, Tab("#ffffff", "#f7f9fb", "#4f5d6b", t.accent, "4")};
  }
  switch (id) {
    case kIconMain:
      return {48, 48, 48, 48,
              "<rect x=\"6\" y=\"5\" width=\"34\" height=\"39\" rx=\"4\" fill=\"#1f7a8c\" "
              "stroke=\"#123f4a\" stroke-width=\"2\"/><rect x=\"11\" y=\"9\" width=\"26\" "
              "height=\"31\" rx=\"2\" fill=\"#ffffff\"/><path d=\"M15 16h18M15 21h18M15 26h11\" "
              "stroke=\"#9bb3bd\" stroke-width=\"2\" stroke-linecap=\"round\"/><rect x=\"15\" "
              "y=\"29.5\" width=\"14\" height=\"7\" rx=\"1\" fill=\"#f6c85f\"/>"
              "<path d=\"M31 3v14a4 4 0 0 0 8 0V7a2.5 2.5 0 0 0-5 0v9\" fill=\"none\" "
              "stroke=\"#d62c1a\" stroke-width=\"2.6\" stroke-linecap=\"round\"/>"};
    case kIconCursorPos:
      return {16, 16, 16, 16,
              WithInk("<circle cx=\"8\" cy=\"8\" r=\"4.2\" fill=\"none\" stroke=\"INK\" "
                      "stroke-width=\"1.3\"/><path d=\"M8 1v4.5M8 10.5V15M1 8h4.5M10.5 8H15\" "
                      "stroke=\"#c0392b\" stroke-width=\"1.4\" stroke-linecap=\"round\"/>",
                      ink)};
    case kIconSelectionSize:
      return {16, 16, 16, 16,
              WithInk("<rect x=\"2\" y=\"3\" width=\"12\" height=\"10\" fill=\"#eaf2fb\" "
                      "stroke=\"INK\" stroke-width=\"1.3\" stroke-dasharray=\"2.2 1.3\"/>",
                      ink)};
    case kIconPictureSize:
      return {16, 16, 16, 16,
              WithInk("<rect x=\"1.5\" y=\"2.5\" width=\"13\" height=\"11\" rx=\"1\" "
                      "fill=\"#d6eaf8\" stroke=\"INK\" stroke-width=\"1.1\"/><path d=\"M2 13l4-5 "
                      "3 3.5 2-2 3.5 3.5z\" fill=\"#27ae60\"/><circle cx=\"11\" cy=\"5.8\" "
                      "r=\"1.5\" fill=\"#f5b041\"/>",
                      ink)};
    case kIconPortrait:
    case kIconLandscape: {
      // A sheet with lines of text, upright or on its side.
      const bool portrait = id == kIconPortrait;
      const std::string sheet = portrait ? "<rect x=\"7\" y=\"2\" width=\"18\" height=\"28\" "
                                           : "<rect x=\"2\" y=\"7\" width=\"28\" height=\"18\" ";
      const std::string lines = portrait ? "<path d=\"M10 8h12M10 12h12M10 16h12M10 20h8\" "
                                         : "<path d=\"M6 11h20M6 15h20M6 19h14\" ";
      return {32, 32, 32, 32,
              sheet + "fill=\"#ffffff\" stroke=\"#34495e\" stroke-width=\"1.5\"/>" + lines +
                  "stroke=\"#2e86de\" stroke-width=\"1.5\"/>"};
    }
    case kBmpFolder:
      return {16, 16, 16, 16,
              "<path d=\"M1 3.5h5l1.5 1.5H15v8.5H1z\" fill=\"#f5c542\" stroke=\"#9a7412\"/>"
              "<circle cx=\"11.5\" cy=\"11\" r=\"3.4\" fill=\"#5dade2\" stroke=\"#1b4f72\"/>"
              "<path d=\"M8.1 11h6.8M11.5 7.6v6.8\" stroke=\"#1b4f72\" stroke-width=\"0.7\"/>"};
    case kBmpScrap:
      return {16, 16, 16, 16,
              "<path d=\"M3 1.5h7l3 3v10H3z\" fill=\"#ffffff\" stroke=\"#34495e\" "
              "stroke-linejoin=\"round\"/><path d=\"M10 1.5v3h3\" fill=\"none\" "
              "stroke=\"#34495e\"/><path d=\"M5 7h6M5 9h6M5 11h4\" stroke=\"#2e86de\"/>"};
    case kBmpStar:
      return {16, 16, 16, 16,
              "<path d=\"M8 1l2.1 4.6 5 .5-3.8 3.4 1.1 5L8 12l-4.4 2.5 1.1-5L.9 6.1l5-.5z\" "
              "fill=\"#f7c600\" stroke=\"#a67c00\" stroke-linejoin=\"round\"/>"};
    case kBmpAddStar:
      return {32, 32, 32, 32,
              "<path d=\"M16 2l4.2 9.2 10 1-7.6 6.8 2.2 10L16 24l-8.8 5 2.2-10-7.6-6.8 10-1z\" "
              "fill=\"#f7c600\" stroke=\"#a67c00\" stroke-width=\"1.5\" "
              "stroke-linejoin=\"round\"/><path d=\"M16 7l2.6 6 6 .6\" fill=\"none\" "
              "stroke=\"#fff3b0\" stroke-width=\"1.4\" stroke-linecap=\"round\"/>"};
    case kBmpAddStarMask:
      return {32, 32, 32, 32,
              Mask(32, 32,
                   "<path d=\"M16 2l4.2 9.2 10 1-7.6 6.8 2.2 10L16 24l-8.8 5 2.2-10-7.6-6.8 "
                   "10-1z\" fill=\"#000000\" stroke=\"#000000\" stroke-width=\"1.5\" "
                   "stroke-linejoin=\"round\"/>")};
    case kSkinNewFolderNormal:
      return {89, 29, 89, 29, Face(89, 29, kFaceNormal, kSignNewFolder)};
    case kSkinNewFolderPressed:
      return {89, 29, 89, 29, Face(89, 29, kFacePressed, kSignNewFolder)};
    case kSkinNewFolderHover:
      return {89, 29, 89, 29, Face(89, 29, kFaceHover, kSignNewFolder)};
    case kSkinNewFolderMask:
      return {89, 29, 89, 29, RoundMask(89, 29)};
    case kSkinDeleteNormal:
      return {67, 29, 67, 29, Face(67, 29, kFaceNormal, kSignDelete)};
    case kSkinDeletePressed:
      return {67, 29, 67, 29, Face(67, 29, kFacePressed, kSignDelete)};
    case kSkinDeleteHover:
      return {67, 29, 67, 29, Face(67, 29, kFaceHover, kSignDelete)};
    case kSkinDeleteDisabled:
      return {67, 29, 67, 29, Face(67, 29, kFaceDisabled, kSignDeleteDisabled)};
    case kSkinDeleteMask:
      return {67, 29, 67, 29, RoundMask(67, 29)};
    case kSkinRenameNormal:
      return {78, 29, 78, 29, Face(78, 29, kFaceNormal, kSignRename)};
    case kSkinRenamePressed:
      return {78, 29, 78, 29, Face(78, 29, kFacePressed, kSignRename)};
    case kSkinRenameHover:
      return {78, 29, 78, 29, Face(78, 29, kFaceHover, kSignRename)};
    case kSkinRenameDisabled:
      return {78, 29, 78, 29, Face(78, 29, kFaceDisabled, kSignRenameDisabled)};
    case kSkinRenameMask:
      return {78, 29, 78, 29, RoundMask(78, 29)};
    case kSkinTabMask:
      return {kTabW, kTabH, kTabW, kTabH,
              Mask(kTabW, kTabH,
                   "<path d=\"M0 26V6A6 6 0 0 1 6 0h84A6 6 0 0 1 96 6V26z\" fill=\"#000000\"/>")};
    default:
      return {};
  }
}

}  // namespace

std::string ToolPictureSvg(int index, bool hot) {
  const std::string body = ToolBody(index);
  if (body.empty()) return {};
  return Document(20, 20, 20, 20, WithInk(body, hot ? kHotInk : kInk));
}

std::string SearchToolPictureSvg(int index, bool hot) {
  if (index != 1) return {};
  return Document(20, 20, 20, 20, WithInk(std::string(kMagnifier), hot ? kHotInk : kInk));
}

std::string ResourceSvg(int id) {
  const Sized s = Lookup(id);
  if (s.body.empty()) return {};
  return Document(s.w, s.h, s.vw, s.vh, s.body);
}

PixelSize ResourceSize(int id) {
  const Sized s = Lookup(id);
  return {s.w, s.h};
}

}  // namespace res::art
