// Allocation failures inside the image object become failed results with a text; no exception
// leaves it. This test program replaces the global operator new so that allocations above a
// threshold fail on request, as they would on a machine out of memory.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "app/image/CxImage.h"
#include "app/image/DibFunctions.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/support/TempDir.h"

namespace {
std::atomic<size_t> g_failAbove{SIZE_MAX};
}  // namespace

// The replacements below pair malloc with free; the compiler cannot see that they replace the
// global operators and warns about the pairing.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t n) {
  if (n > g_failAbove.load(std::memory_order_relaxed)) throw std::bad_alloc();
  if (void* p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
// The array forms too: sanitizer runtimes bring their own, which would not fail on request.
void* operator new[](std::size_t n) { return ::operator new(n); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

// Allocations larger than `bytes` fail while the guard lives.
class FailAllocationsAbove {
 public:
  explicit FailAllocationsAbove(size_t bytes) { g_failAbove = bytes; }
  ~FailAllocationsAbove() { g_failAbove = SIZE_MAX; }
  FailAllocationsAbove(const FailAllocationsAbove&) = delete;
  FailAllocationsAbove& operator=(const FailAllocationsAbove&) = delete;
};

constexpr const char* kOutOfMemory = "CxImage: out of memory";

// A true-colour picture with more than 256 colours, so GIF writing needs the quantizer.
CxImage ManyColours(uint32_t w, uint32_t h) { return imagetest::MakePattern(w, h); }

TEST(AllocationFailure, ClipboardCopiesFailWithoutThrowing) {
  const CxImage img = ManyColours(300, 200);
  const std::vector<uint8_t> block(100 * 1024, 1);
  FailAllocationsAbove guard(64 * 1024);
  std::optional<std::vector<uint8_t>> copy;
  EXPECT_NO_THROW(copy = img.CopyToHandle());
  EXPECT_FALSE(copy.has_value());
  EXPECT_STREQ(img.GetLastError(), kOutOfMemory);
  EXPECT_TRUE(img.IsValid());
  EXPECT_NO_THROW(EXPECT_FALSE(CopyMemoryBlock(&block).has_value()));
}

TEST(AllocationFailure, EncodersAndConversionsFailWithText) {
  CxImage img = ManyColours(400, 300);
  FailAllocationsAbove guard(64 * 1024);
  std::vector<uint8_t> out;
  EXPECT_NO_THROW(EXPECT_FALSE(img.Encode(out, CXIMAGE_FORMAT_GIF)));
  EXPECT_STREQ(img.GetLastError(), kOutOfMemory);
  EXPECT_TRUE(out.empty());
  CxImage wide = ManyColours(4000, 2);
  EXPECT_NO_THROW(EXPECT_FALSE(wide.DecreaseBpp(8, true)));
  EXPECT_STREQ(wide.GetLastError(), kOutOfMemory);
  // A failed conversion leaves the picture as it was.
  EXPECT_EQ(wide.GetBpp(), 24u);
}

TEST(AllocationFailure, ThumbnailsAndDecodersFailWithText) {
  testsupport::TempDir dir;
  const std::string path = (dir / "wide.bmp").string();
  {
    std::vector<uint8_t> bmp;
    ASSERT_TRUE(ManyColours(30000, 3).Encode(bmp, CXIMAGE_FORMAT_BMP));
    testsupport::WriteFile(path, std::string(bmp.begin(), bmp.end()));
  }
  std::vector<uint8_t> gif;
  {
    CxImage wide = ManyColours(40000, 1);
    ASSERT_TRUE(wide.DecreaseBpp(8, false));
    ASSERT_TRUE(wide.Encode(gif, CXIMAGE_FORMAT_GIF));
  }
  {
    // The 270 KB file is read; shrinking 30000 columns to 20000 keeps sums for every
    // destination column (480 KB), which fail.
    FailAllocationsAbove guard(300 * 1024);
    CxImage thumb;
    EXPECT_NO_THROW(EXPECT_FALSE(thumb.LoadThumbnail(path, CXIMAGE_FORMAT_BMP, 20000, 100)));
    EXPECT_STREQ(thumb.GetLastError(), kOutOfMemory);
    EXPECT_FALSE(thumb.IsValid());
  }
  FailAllocationsAbove guard(32 * 1024);
  CxImage thumb;
  // Reading the file itself fails the same way.
  EXPECT_NO_THROW(EXPECT_FALSE(thumb.Load(path, CXIMAGE_FORMAT_BMP)));
  CxImage decoded;
  EXPECT_NO_THROW(EXPECT_FALSE(decoded.Decode(gif.data(), gif.size(), CXIMAGE_FORMAT_GIF)));
  EXPECT_STREQ(decoded.GetLastError(), kOutOfMemory);
  EXPECT_FALSE(decoded.IsValid());
}

}  // namespace
