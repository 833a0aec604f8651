#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <thread>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <libraw/libraw.h>

#include "app/image/ImageCodecs.h"

namespace {

// Raw files are TIFF-like containers or carry a maker's signature near the start.
bool HasRawSignature(ByteSpan in) {
  const auto at = [&](size_t offset, const char* sig, size_t n) {
    return in.size >= offset + n && std::memcmp(in.data + offset, sig, n) == 0;
  };
  return at(0, "II*\0", 4) || at(0, "MM\0*", 4) || at(0, "IIRO", 4) || at(0, "IIRS", 4) ||
         at(0, "MMOR", 4) || at(0, "IIU\0", 4) || at(0, "\0MRM", 4) || at(0, "FUJIFILM", 8) ||
         at(0, "FOVb", 4) || at(6, "HEAPCCDR", 8);
}

// What LibRaw holds at once while it decodes, known from the header before it unpacks anything:
// the sensor data (16 bits a photosite, four channels for sensors without a colour filter
// pattern), its working picture of four 16-bit channels (a quarter of the pixels at half size)
// and the finished 8-bit picture.
uint64_t RawBytesNeeded(const libraw_data_t& raw, bool halfSize) {
  const uint64_t sensor =
      uint64_t(raw.sizes.raw_width) * raw.sizes.raw_height * (raw.idata.filters ? 2 : 8);
  uint64_t w = raw.sizes.width, h = raw.sizes.height;
  if (halfSize) w = (w + 1) / 2, h = (h + 1) / 2;
  return sensor + w * h * 8 + w * h * 3;
}

}  // namespace

bool SniffRaw(ByteSpan in) { return HasRawSignature(in); }

namespace {

// What the decoding process hands back, at the start of a block shared with it; the picture's
// rows follow, top row first, blue-green-red, without padding.
struct RawAnswer {
  uint32_t width;
  uint32_t height;
  char error[120];  // empty when the rows are there
};

// Longest a raw file may take to decode before its process is stopped.
constexpr auto kRawTimeout = std::chrono::seconds(60);

void Answer(RawAnswer* answer, const char* error) {
  std::snprintf(answer->error, sizeof answer->error, "%s", error);
}

// Runs in the decoding process: the whole LibRaw pipeline on the file in memory.
void DecodeInThisProcess(ByteSpan in, bool thumbnail, RawAnswer* answer, uint8_t* rows) {
  Answer(answer, "Raw: file is corrupt");
  libraw_data_t* raw = libraw_init(0);
  if (!raw) return Answer(answer, "Raw: out of memory");
  bool ok = libraw_open_buffer(raw, const_cast<uint8_t*>(in.data), in.size) == LIBRAW_SUCCESS;
  const char* error = "Raw: file is not supported";
  // Thumbnails always take the half-size decode; a full-size picture whose buffers would not fit
  // the picture budget is shown at half size, and one that does not fit even so is refused.
  bool halfSize = thumbnail;
  if (ok && !halfSize && RawBytesNeeded(*raw, false) > kCxImageMaxMemory) halfSize = true;
  if (ok && RawBytesNeeded(*raw, true) > kCxImageMaxMemory) {
    ok = false;
    error = "CXIMAGE_MAX_MEMORY exceeded";
  }
  if (ok) {
    raw->params.use_camera_wb = 1;
    raw->params.output_bps = 8;
    raw->params.half_size = halfSize ? 1 : 0;
    ok = libraw_unpack(raw) == LIBRAW_SUCCESS && libraw_dcraw_process(raw) == LIBRAW_SUCCESS;
    if (!ok) error = "Raw: file is corrupt";
  }
  libraw_processed_image_t* picture = nullptr;
  if (ok) {
    int code = 0;
    picture = libraw_dcraw_make_mem_image(raw, &code);
    ok = picture && picture->type == LIBRAW_IMAGE_BITMAP && picture->colors == 3 &&
         picture->bits == 8 && picture->width && picture->height;
  }
  if (ok && uint64_t(picture->width) * picture->height * 3 > kCxImageMaxMemory) {
    ok = false;
    error = "CXIMAGE_MAX_MEMORY exceeded";
  }
  if (ok) {
    const size_t pixels = size_t(picture->width) * picture->height;
    for (size_t i = 0; i < pixels; ++i) {
      rows[3 * i] = picture->data[3 * i + 2];
      rows[3 * i + 1] = picture->data[3 * i + 1];
      rows[3 * i + 2] = picture->data[3 * i];
    }
    answer->width = picture->width;
    answer->height = picture->height;
    error = "";
  }
  if (picture) libraw_dcraw_clear_mem(picture);
  libraw_close(raw);
  Answer(answer, error);
}

// Waits for the decoding process, stopping it when it takes too long; true when it ended by
// itself with success.
bool WaitForDecoder(pid_t pid) {
  const auto deadline = std::chrono::steady_clock::now() + kRawTimeout;
  int status = 0;
  for (;;) {
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    if (done < 0 && errno != EINTR) return false;
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid, SIGKILL);
      while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
      }
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

}  // namespace

// LibRaw is a large parser of many camera makers' formats and has crashed on crafted files, so
// it runs in a process of its own: whatever a hostile file does to it (a crash, a hang, memory
// it should not touch), the program only sees a picture that did not decode.
bool DecodeRaw(CxImage& img, ByteSpan in, const CxDecodeHint& hint) {
  if (!HasRawSignature(in)) return DecodeFailed(img, "Not a camera raw file");
  const size_t blockSize = sizeof(RawAnswer) + kCxImageMaxMemory;
  void* block = ::mmap(nullptr, blockSize, PROT_READ | PROT_WRITE,
                       MAP_SHARED | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (block == MAP_FAILED) return DecodeFailed(img, "Raw: out of memory");
  auto* answer = static_cast<RawAnswer*>(block);
  uint8_t* rows = static_cast<uint8_t*>(block) + sizeof(RawAnswer);
  Answer(answer, "Raw: file is corrupt");
  const pid_t pid = ::fork();
  if (pid == 0) {
    DecodeInThisProcess(in, hint.maxWidth && hint.maxHeight, answer, rows);
    ::_exit(0);
  }
  bool ok = pid > 0 && WaitForDecoder(pid) && answer->error[0] == 0;
  char error[256];
  std::snprintf(error, sizeof error, "%s",
                pid < 0 ? "Raw: can't start the decoder" : answer->error);
  if (ok) {
    const uint32_t w = answer->width, h = answer->height;
    ok = uint64_t(w) * h * 3 <= kCxImageMaxMemory && img.Create(w, h, 24, CXIMAGE_FORMAT_RAW);
    for (uint32_t y = 0; ok && y < h; ++y)
      std::memcpy(img.GetBits(h - 1 - y), rows + size_t(y) * w * 3, size_t(w) * 3);
    if (!ok)
      std::snprintf(error, sizeof error, "%s",
                    img.GetLastError()[0] ? img.GetLastError() : "Raw: file is corrupt");
  }
  ::munmap(block, blockSize);
  if (!ok && error[0]) return DecodeFailed(img, error);
  return ok;
}
