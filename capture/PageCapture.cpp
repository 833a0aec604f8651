#include "capture/PageCapture.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "capture/PictureFiles.h"

namespace capture {
namespace {

constexpr uint32_t kViewportHeight = 800;
// After the load event the page may still fetch pictures and scripts: it counts as settled
// once no request has been open for this long, and the wait never takes longer than the cap.
constexpr auto kQuietTime = std::chrono::milliseconds(500);
constexpr auto kIdleCap = std::chrono::seconds(10);
constexpr auto kScrollCap = std::chrono::seconds(15);
constexpr auto kCommandLimit = std::chrono::seconds(60);

// Scrolls down one screen at a time so pictures that load when they come into view load,
// then back to the top. Bounded in time for endless pages.
constexpr const char* kScrollScript = R"JS(
(async () => {
  const step = Math.max(200, window.innerHeight);
  const end = Date.now() + 8000;
  const root = document.scrollingElement || document.documentElement;
  for (let y = 0; y < root.scrollHeight && Date.now() < end; y += step) {
    window.scrollTo(0, y);
    await new Promise(r => setTimeout(r, 20));
  }
  window.scrollTo(0, 0);
  await new Promise(r => setTimeout(r, 50));
  return true;
})()
)JS";

// Lone surrogates (which pages can hold) would make the answer invalid JSON text. The text is
// cut at 16 million UTF-16 units (32 MB in Content.txt), the title at 2,000.
constexpr const char* kInfoScript = R"JS(
(() => {
  const clean = (s, n) => { s = s.slice(0, n); return s.toWellFormed ? s.toWellFormed() : s; };
  return {
    title: clean(document.title || '', 2000),
    url: location.href,
    text: clean(document.body ? document.body.innerText : '', 16777216)
  };
})()
)JS";

// Picture addresses in page order: img elements, then CSS background pictures (looked for in
// at most 20,000 elements, so a huge page does not stall here).
constexpr const char* kPicturesScript = R"JS(
(() => {
  const seen = new Set(), out = [];
  const add = u => { if (u && !seen.has(u)) { seen.add(u); out.push(u); } };
  for (const img of document.images) add(img.currentSrc || img.src);
  const all = document.querySelectorAll('*');
  for (let i = 0; i < all.length && i < 20000; ++i) {
    const bg = getComputedStyle(all[i]).backgroundImage;
    if (!bg || bg === 'none') continue;
    for (const m of bg.matchAll(/url\(\s*(['"]?)(.*?)\1\s*\)/g)) {
      try { add(new URL(m[2], document.baseURI).href); } catch (e) {}
    }
  }
  return out;
})()
)JS";

// What the event handler has seen of the page since the navigation started.
struct PageEvents {
  std::string session;
  std::string loaderId;
  bool loaded = false;
  std::string documentError;
  std::set<std::string> openRequests;
  Clock::time_point lastActivity = Clock::now();

  void OnEvent(const Json& event) {
    if (event.value("sessionId", std::string()) != session) return;
    const std::string method = event.value("method", std::string());
    const Json& params = event.contains("params") ? event["params"] : Json::object();
    const std::string request = params.value("requestId", std::string());
    if (method == "Page.loadEventFired") {
      loaded = true;
    } else if (method == "Network.requestWillBeSent") {
      openRequests.insert(request);
      lastActivity = Clock::now();
    } else if (method == "Network.loadingFinished" || method == "Network.loadingFailed") {
      openRequests.erase(request);
      lastActivity = Clock::now();
      if (method == "Network.loadingFailed" && !loaderId.empty() && request == loaderId &&
          !params.value("canceled", false))
        documentError = params.value("errorText", std::string("error"));
    }
  }
};

CaptureFailure FromPipe(const PipeFailure& f, std::string_view what) {
  switch (f.kind) {
    case PipeError::kInterrupted:
      return {kExitInterrupted, "interrupted"};
    case PipeError::kTimedOut:
      return {kExitTimedOut, std::string(what) + ": the browser did not answer in time"};
    case PipeError::kNoBrowser:
    case PipeError::kClosed:
      return {kExitNoBrowser, std::string(what) + ": " + f.text};
    default:
      return {kExitNoBrowser, std::string(what) + ": " + f.text};
  }
}

// Waits until no request has been open for the quiet time, or until the limit.
bool WaitForQuiet(DevToolsPipe& browser, PageEvents& events, Clock::time_point limit,
                  PipeFailure& failure) {
  const auto quiet = [&] {
    return events.openRequests.empty() && Clock::now() - events.lastActivity >= kQuietTime;
  };
  while (!quiet() && Clock::now() < limit) {
    const auto slice = std::min(limit, Clock::now() + std::chrono::milliseconds(100));
    if (!browser.PumpUntil(slice, quiet, failure)) return false;
  }
  return true;
}

std::optional<Json> Evaluate(DevToolsPipe& browser, const std::string& session,
                             const char* script, bool awaitPromise, Clock::time_point deadline,
                             PipeFailure& failure) {
  std::optional<Json> result = browser.Call(
      "Runtime.evaluate",
      {{"expression", script}, {"returnByValue", true}, {"awaitPromise", awaitPromise}}, session,
      deadline, failure);
  if (!result) return std::nullopt;
  if (result->contains("exceptionDetails")) {
    failure = {PipeError::kProtocol, "a script in the page failed"};
    return std::nullopt;
  }
  const Json& value = (*result)["result"];
  return value.contains("value") ? value["value"] : Json();
}

bool TakePicture(DevToolsPipe& browser, const std::string& session, uint32_t width,
                 const Progress& progress, CapturedPage& page, CaptureFailure& failure) {
  if (!page.picture.Create(width, page.capturedHeight, 24, CXIMAGE_FORMAT_JPG)) {
    failure = {kExitWriteFailed, std::string("the page picture does not fit in memory (") +
                                     page.picture.GetLastError() + ")"};
    return false;
  }
  // Anything a band does not cover stays white, like the page's background.
  for (uint32_t y = 0; y < page.capturedHeight; ++y)
    std::memset(page.picture.GetBits(y), 0xFF, size_t(width) * 3);
  for (uint32_t top = 0; top < page.capturedHeight; top += kBandHeight) {
    const uint32_t height = std::min(kBandHeight, page.capturedHeight - top);
    progress("picture: rows " + std::to_string(top) + "–" + std::to_string(top + height) +
             " of " + std::to_string(page.capturedHeight));
    PipeFailure pipeFailure;
    std::optional<Json> shot = browser.Call(
        "Page.captureScreenshot",
        {{"format", "png"},
         {"captureBeyondViewport", true},
         {"clip", {{"x", 0}, {"y", top}, {"width", width}, {"height", height}, {"scale", 1}}}},
        session, Clock::now() + kCommandLimit, pipeFailure);
    if (!shot) {
      failure = FromPipe(pipeFailure, "taking the page picture");
      return false;
    }
    std::optional<std::string> png = DecodeBase64(shot->value("data", std::string()));
    CxImage band;
    if (!png ||
        !band.Decode(reinterpret_cast<const uint8_t*>(png->data()), png->size(),
                     CXIMAGE_FORMAT_PNG)) {
      failure = {kExitNoBrowser, "the browser sent a page picture that cannot be read"};
      return false;
    }
    PasteBand(page.picture, top, band);
  }
  return true;
}

void CollectPictures(DevToolsPipe& browser, const std::string& session, const std::string& frame,
                     const CaptureOptions& options, const Json& urls, const Progress& progress,
                     CapturedPage& page) {
  uint64_t total = 0;
  for (const Json& entry : urls) {
    if (!entry.is_string()) continue;
    const std::string url = entry.get<std::string>();
    std::optional<std::string> bytes = DecodeDataUrl(url);
    if (!bytes) {
      PipeFailure ignored;
      std::optional<Json> content =
          browser.Call("Page.getResourceContent", {{"frameId", frame}, {"url", url}}, session,
                       Clock::now() + kCommandLimit, ignored);
      if (content) {
        const std::string raw = content->value("content", std::string());
        if (content->value("base64Encoded", false))
          bytes = DecodeBase64(raw);
        else
          bytes = raw;
      }
    }
    if (!bytes || PictureExtension(*bytes).empty() || page.pictures.size() >= options.maxPictures ||
        total + bytes->size() > options.maxPictureBytes) {
      ++page.picturesLeftOut;
      continue;
    }
    total += bytes->size();
    page.pictures.push_back({url, std::move(*bytes)});
  }
  progress("pictures: " + std::to_string(page.pictures.size()) + " kept, " +
           std::to_string(page.picturesLeftOut) + " left out");
}

}  // namespace

uint32_t MaxPictureRows(uint32_t width) {
  if (width == 0) return 0;
  const uint64_t rowBytes = ((uint64_t(width) * 24 + 31) / 32) * 4;
  return uint32_t(std::min<uint64_t>(kCxImageMaxMemory / rowBytes, UINT32_MAX));
}

void PasteBand(CxImage& page, uint32_t top, const CxImage& band) {
  if (!page.IsValid() || !band.IsValid() || top >= page.GetHeight()) return;
  const uint32_t width = std::min(page.GetWidth(), band.GetWidth());
  const uint32_t rows = std::min(band.GetHeight(), page.GetHeight() - top);
  for (uint32_t r = 0; r < rows; ++r) {
    uint8_t* dst = page.GetBits(page.GetHeight() - 1 - (top + r));
    const uint32_t srcY = band.GetHeight() - 1 - r;
    if (band.GetBpp() == 24) {
      std::memcpy(dst, band.GetBits(srcY), size_t(width) * 3);
      continue;
    }
    for (uint32_t x = 0; x < width; ++x) {
      const RGBQUAD c = band.GetPixelColor(x, srcY);
      dst[3 * x] = c.rgbBlue, dst[3 * x + 1] = c.rgbGreen, dst[3 * x + 2] = c.rgbRed;
    }
  }
}

bool CapturePage(DevToolsPipe& browser, const CaptureOptions& options, const Progress& progress,
                 CapturedPage& page, CaptureFailure& failure) try {
  PipeFailure pipeFailure;
  const auto limit = [] { return Clock::now() + kCommandLimit; };
  std::optional<Json> target =
      browser.Call("Target.createTarget", {{"url", "about:blank"}}, {}, limit(), pipeFailure);
  std::optional<Json> attached;
  if (target)
    attached = browser.Call("Target.attachToTarget",
                            {{"targetId", target->value("targetId", std::string())},
                             {"flatten", true}},
                            {}, limit(), pipeFailure);
  if (!attached) {
    failure = FromPipe(pipeFailure, "opening a browser tab");
    return false;
  }
  PageEvents events;
  events.session = attached->value("sessionId", std::string());
  browser.SetEventHandler([&events](const Json& e) { events.OnEvent(e); });
  struct Unhook {
    DevToolsPipe& b;
    ~Unhook() { b.SetEventHandler(nullptr); }
  } unhook{browser};

  const std::string& s = events.session;
  for (const auto& [method, params] :
       std::initializer_list<std::pair<const char*, Json>>{
           {"Page.enable", Json::object()},
           {"Network.enable", Json::object()},
           {"Emulation.setDeviceMetricsOverride",
            {{"width", options.width},
             {"height", kViewportHeight},
             {"deviceScaleFactor", 1},
             {"mobile", false}}}}) {
    if (!browser.Call(method, params, s, limit(), pipeFailure)) {
      failure = FromPipe(pipeFailure, "preparing the browser tab");
      return false;
    }
  }

  progress("loading " + options.url);
  const auto deadline = Clock::now() + std::chrono::seconds(options.timeoutSeconds);
  const std::string timedOut =
      "the page did not finish loading within " + std::to_string(options.timeoutSeconds) + " s";
  std::optional<Json> navigated =
      browser.Call("Page.navigate", {{"url", options.url}}, s, deadline, pipeFailure);
  if (!navigated) {
    failure = pipeFailure.kind == PipeError::kTimedOut ? CaptureFailure{kExitTimedOut, timedOut}
              : pipeFailure.kind == PipeError::kProtocol
                  ? CaptureFailure{kExitLoadFailed, "the page did not load: " + pipeFailure.text}
                  : FromPipe(pipeFailure, "loading the page");
    return false;
  }
  if (const std::string error = navigated->value("errorText", std::string()); !error.empty()) {
    failure = {kExitLoadFailed, "the page did not load: " + error};
    return false;
  }
  const std::string frame = navigated->value("frameId", std::string());
  events.loaderId = navigated->value("loaderId", std::string());
  if (!browser.PumpUntil(deadline,
                         [&] { return events.loaded || !events.documentError.empty(); },
                         pipeFailure)) {
    failure = FromPipe(pipeFailure, "loading the page");
    return false;
  }
  if (!events.documentError.empty()) {
    failure = {kExitLoadFailed, "the page did not load: " + events.documentError};
    return false;
  }
  if (!events.loaded) {
    failure = {kExitTimedOut, timedOut};
    return false;
  }

  progress("waiting for the page to settle");
  if (!WaitForQuiet(browser, events, Clock::now() + kIdleCap, pipeFailure) ||
      !Evaluate(browser, s, kScrollScript, true, Clock::now() + kScrollCap, pipeFailure) ||
      !WaitForQuiet(browser, events, Clock::now() + kIdleCap, pipeFailure)) {
    failure = FromPipe(pipeFailure, "scrolling through the page");
    return false;
  }

  std::optional<Json> info = Evaluate(browser, s, kInfoScript, false, limit(), pipeFailure);
  std::optional<Json> metrics =
      info ? browser.Call("Page.getLayoutMetrics", Json::object(), s, limit(), pipeFailure)
           : std::nullopt;
  if (!info || !metrics || !info->is_object()) {
    failure = FromPipe(pipeFailure, "reading the page");
    return false;
  }
  page.title = info->value("title", std::string());
  page.url = info->value("url", options.url);
  page.text = info->value("text", std::string());
  const Json size = metrics->value("cssContentSize", Json::object());
  const double height = size.value("height", 0.0);
  page.pageHeight = height < 1 ? 1 : height > 4e9 ? UINT32_MAX : uint32_t(height + 0.999);
  page.capturedHeight =
      std::min({page.pageHeight, options.maxHeight, MaxPictureRows(options.width)});
  progress("page: \"" + page.title + "\", " + std::to_string(options.width) + " × " +
           std::to_string(page.pageHeight) + " pixels");

  if (!TakePicture(browser, s, options.width, progress, page, failure)) return false;

  std::optional<Json> urls = Evaluate(browser, s, kPicturesScript, false, limit(), pipeFailure);
  if (urls && urls->is_array()) CollectPictures(browser, s, frame, options, *urls, progress, page);
  return true;
} catch (const std::exception& e) {
  // nlohmann's type errors and allocation failures for a hostile page end here.
  failure = {kExitNoBrowser, std::string("unexpected answer from the browser: ") + e.what()};
  return false;
}

}  // namespace capture
